# Sourced by ./test: PulseAudio servers of the tests' own, whose output is a null sink and whose
# input hears that output, so that tests can check what was played. Two of them: the tests that
# listen get one to themselves (CELVANE_LISTENING_SERVER), so that the sound effects of tests
# running beside them are not heard. Both are stopped when the shell exits.

# Starts a server whose folder is $1; prints its address, or nothing if it did not start.
celvane_start_sound_server() {
  mkdir -p "$1" && chmod 0700 "$1"
  if XDG_RUNTIME_DIR="$1" PULSE_STATE_PATH="$1/pulse-state" \
       pulseaudio --daemonize=yes --system=false -n --exit-idle-time=-1 --disallow-exit --use-pid-file=yes \
       --log-target="file:$1/pulseaudio.log" \
       -L "module-native-protocol-unix auth-anonymous=1" \
       -L "module-null-sink sink_name=celvane_out rate=44100 channels=2 norewinds=1" \
       -L "module-remap-source master=celvane_out.monitor source_name=celvane_in" 2>/dev/null; then
    PULSE_SERVER="unix:$1/pulse/native" pactl set-default-sink celvane_out || true
    PULSE_SERVER="unix:$1/pulse/native" pactl set-default-source celvane_in || true
    echo "unix:$1/pulse/native"
  fi
}

celvane_sound_folder="$(mktemp -d)"
export XDG_RUNTIME_DIR="$celvane_sound_folder/shared"
PULSE_SERVER="$(celvane_start_sound_server "$XDG_RUNTIME_DIR")"
CELVANE_LISTENING_SERVER="$(celvane_start_sound_server "$celvane_sound_folder/listening")"
export PULSE_SERVER CELVANE_LISTENING_SERVER PULSE_STATE_PATH="$XDG_RUNTIME_DIR/pulse-state"
if [ -n "$PULSE_SERVER" ]; then
  trap 'for s in shared listening; do XDG_RUNTIME_DIR="$celvane_sound_folder/$s" pulseaudio --kill 2>/dev/null || true; done' EXIT
else
  unset PULSE_SERVER
  echo "No sound server for the tests: the tests that listen will be skipped." >&2
fi
