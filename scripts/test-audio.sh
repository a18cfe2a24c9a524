# Sourced by ./test: a PulseAudio server of the tests' own, whose output is a null sink and whose
# input hears that output, so that tests can check what was played. Stopped when the shell exits.
XDG_RUNTIME_DIR="$(mktemp -d)"
export XDG_RUNTIME_DIR
chmod 0700 "$XDG_RUNTIME_DIR"
export PULSE_STATE_PATH="$XDG_RUNTIME_DIR/pulse-state" PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
if pulseaudio --daemonize=yes --system=false -n --exit-idle-time=-1 --disallow-exit --use-pid-file=yes \
     --log-target="file:$XDG_RUNTIME_DIR/pulseaudio.log" \
     -L "module-native-protocol-unix auth-anonymous=1" \
     -L "module-null-sink sink_name=celvane_out rate=44100 channels=2 norewinds=1" \
     -L "module-remap-source master=celvane_out.monitor source_name=celvane_in" 2>/dev/null; then
  pactl set-default-sink celvane_out || true
  pactl set-default-source celvane_in || true
  trap 'pulseaudio --kill 2>/dev/null || true' EXIT
else
  echo "No sound server for the tests: the tests that listen will be skipped." >&2
fi
