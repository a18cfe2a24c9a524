"""The program as a person meets it: a real X server with a window manager, the accessibility
bus a screen reader uses, and the sound server ./test started. Scenarios start the built program
with its shipped data and a settings file of their own, find its controls by their accessible
names, press keys and drag the pointer with real input events, and fail on a crash, a sanitizer
report or a control that is not there."""

import array
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib


class Failure(Exception):
    pass


# What a scenario exits with when it cannot run here (ctest counts it as skipped).
SKIPPED = 77


def require_file(path):
    """Skips the scenario when a sample file it starts from is not beside the checkout."""
    if not os.path.exists(path):
        print(f"skipped: no sample file at {path}")
        sys.exit(SKIPPED)
    return path


def wait_for(what, check, timeout=10.0, step=0.05):
    """Returns check()'s first true value, or fails naming `what` once the time is up."""
    end = time.monotonic() + timeout
    while True:
        value = check()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(step)


class Listener:
    """Records what the sound server plays while a `with` block runs."""

    RATE = 44100

    def __init__(self, desktop):
        self.desktop = desktop
        self.path = os.path.join(desktop.folder, f"heard-{time.monotonic_ns()}.raw")
        self.samples = array.array("h")

    def __enter__(self):
        self.file = open(self.path, "wb")
        self.process = subprocess.Popen(
            ["parec", "-d", "celvane_out.monitor", "--raw", "--format=s16le", f"--rate={self.RATE}",
             "--channels=1", "--latency-msec=20"], env=self.desktop.env, stdout=self.file)
        time.sleep(0.3)
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait()
        self.file.close()
        with open(self.path, "rb") as f:
            data = f.read()
        self.samples.frombytes(data[: len(data) // 2 * 2])

    def _loud_windows(self, threshold, first=0):
        """Whether each 10 ms of the recording from sample `first` on was heard."""
        window = self.RATE // 100
        return [max(abs(v) for v in self.samples[start:start + window]) > threshold
                for start in range(first, len(self.samples) - window + 1, window)]

    def sounding_ms(self, threshold=300, last_seconds=None):
        """How long something was heard, in milliseconds (10 ms windows above the threshold), in
        all or in the last seconds of the recording."""
        first = 0 if last_seconds is None else max(0, len(self.samples) - int(last_seconds * self.RATE))
        return 10 * sum(self._loud_windows(threshold, first))

    def onsets_ms(self, threshold=300, quiet_ms=50):
        """When each sound began, in milliseconds from the first: sounds are told apart by at
        least `quiet_ms` of silence between them."""
        starts, quiet = [], quiet_ms
        for index, loud in enumerate(self._loud_windows(threshold)):
            if loud and quiet >= quiet_ms:
                starts.append(index * 10)
            quiet = 0 if loud else quiet + 10
        return [start - starts[0] for start in starts]


class Desktop:
    """Xvfb, openbox and the accessibility bus, for the length of a `with` block. Run the script
    under dbus-run-session so that the session bus is its own."""

    def __init__(self, width=1366, height=768):
        self.size = (width, height)
        self.processes = []
        self.folder = tempfile.mkdtemp(prefix="celvane-system-")
        self.env = dict(os.environ)
        # The sound server of the tests that listen, so that nothing else is heard.
        if os.environ.get("CELVANE_LISTENING_SERVER"):
            self.env["PULSE_SERVER"] = os.environ["CELVANE_LISTENING_SERVER"]

    def __enter__(self):
        try:
            return self._start_session()
        except BaseException:
            self.__exit__()
            raise

    def _start_session(self):
        # Xvfb picks a free display and names it once it takes connections, so that sessions
        # started side by side neither race for a number nor connect too early; without a reset
        # when its first client (the accessibility bus) leaves, the next one is not turned away.
        read, write = os.pipe()
        self._start(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{self.size[0]}x{self.size[1]}x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as named:
            number = named.readline().strip()
        if not number:
            self.processes[-1].wait(10)
            self._started("Xvfb")
            raise Failure("Xvfb named no display")
        self.env["DISPLAY"] = f":{number}"
        os.environ["DISPLAY"] = self.env["DISPLAY"]
        self._start(["openbox", "--sm-disable"])
        self._start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for("the window manager", lambda: self._started("openbox") and subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
            capture_output=True, text=True).stdout.find("window id") >= 0, timeout=60)
        return self

    def _started(self, name):
        """Whether a process of the session still runs; fails with its output when it ended."""
        for p in self.processes:
            if os.path.basename(p.args[0]) == name and p.poll() is not None:
                with open(os.path.join(self.folder, name + ".log"), errors="replace") as f:
                    raise Failure(f"{name} ended ({describe_exit(p.returncode)}): {f.read()[-2000:]}")
        return True

    def __exit__(self, *exc):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.folder, ignore_errors=True)

    def _start(self, command, pass_fds=()):
        log = open(os.path.join(self.folder, os.path.basename(command[0]) + ".log"), "w")
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                               pass_fds=pass_fds))

    def listen(self):
        return Listener(self)

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)


class Program:
    """The built program, started as a person starts it, on a settings file of its own."""

    def __init__(self, desktop, binary, arguments=(), settings=None, home=None):
        """A `home` of an earlier run gives this run what that one left: its recovery copies."""
        self.desktop = desktop
        self.home = home or tempfile.mkdtemp(prefix="home-", dir=desktop.folder)
        env = dict(desktop.env)
        env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, "config"),
            "XDG_STATE_HOME": os.path.join(self.home, "state"),
            "CELVANE_SETTINGS": os.path.join(self.home, "celvane.ini"),
            "QT_QPA_PLATFORM": "xcb",
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
        })
        env.pop("QT_QPA_PLATFORM_PLUGIN_PATH", None)
        self.settings_file = env["CELVANE_SETTINGS"]
        with open(self.settings_file, "w") as f:
            f.write("[Settings]\nSplash=0\n")
            for section, values in (settings or {}).items():
                f.write(f"[{section}]\n" + "".join(f"{k}={v}\n" for k, v in values.items()))
        self.log_path = os.path.join(self.home, f"stderr-{time.monotonic_ns()}.log")
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen([binary, *arguments], env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self.app = wait_for("the program on the accessibility bus", self._find_app, timeout=60)

    def _find_app(self):
        self.check_alive()
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.process.pid and app.childCount > 0:
                    return app
            except Exception:
                continue
        return None

    def output(self):
        self.log.flush()
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def check_alive(self):
        """Fails with what the program printed when it has ended, or a sanitizer has spoken."""
        code = self.process.poll()
        text = self.output()
        if code is not None:
            raise Failure(f"the program ended ({describe_exit(code)}):\n{report(text)}")
        if "Sanitizer" in text or "runtime error:" in text:
            raise Failure(f"a sanitizer report:\n{report(text)}")

    def find(self, name, role=None, timeout=10.0, within=None):
        """The first control of the program (or of the control `within`), in any window, with this
        accessible name (and role)."""
        def look():
            self.check_alive()
            return pyatspi.findDescendant(
                within or self.app, lambda a: a is not None and a.name == name
                and (role is None or a.getRoleName() == role), breadth_first=True)
        try:
            found = wait_for(f'a control named "{name}"' + (f" ({role})" if role else ""), look, timeout)
        except Failure as e:
            raise Failure(f"{e}; open windows: {self.windows()}")
        self.check_windows_fit()
        return found

    def check_windows_fit(self):
        """Fails when a window on the screen reaches past its edges: a child cannot reach what
        is there."""
        width, height = self.desktop.size
        for window, _ in self.top_windows():
            try:
                if not window.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                x, y, w, h = self.extents(window)
            except GLib.GError:
                continue
            if x < 0 or y < 0 or x + w > width or y + h > height:
                raise Failure(f'the window "{window.name}" at {x},{y} sized {w}x{h} does not fit '
                              f"the {width}x{height} screen")

    def press(self, name, role=None, within=None):
        """Presses a control as a screen reader does. A control that opens a modal window answers
        only once that window closes: the press goes on while the scenario does."""
        action = self.find(name, role, within=within).queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        index = next((i for i, n in enumerate(names) if n.lower() in ("press", "click", "toggle")), 0)
        Atspi.set_timeout(1500, -1)
        try:
            action.doAction(index)
        except GLib.GError as e:
            # A control that ends the program may not live to answer.
            if "Did not receive a reply" not in str(e) and "disconnected from message bus" not in str(e):
                raise
        finally:
            Atspi.set_timeout(-1, -1)

    def top_windows(self):
        """The program's top-level windows; one that closes while they are counted is left out."""
        try:
            children = list(self.app)
        except (GLib.GError, ValueError):  # the program has left the bus: ended, or ending
            self.check_alive()
            return []
        found = []
        for window in children:
            try:
                if window is not None:
                    found.append((window, window.getRoleName()))
            except GLib.GError:
                continue
        return found

    def windows(self):
        """Each open window's role, name and the names of its buttons, for failure messages."""
        def buttons(window):
            found = pyatspi.findAllDescendants(window, lambda a: a is not None and a.getRoleName() == "push button")
            return [b.name for b in found if b.name]
        return [(role, w.name, buttons(w)) for w, role in self.top_windows()]

    def boxes(self):
        """The message boxes and dialogs open now."""
        return [w for w, role in self.top_windows() if role in ("dialog", "alert")]

    def answer(self, button, timeout=10.0):
        """Presses a button of the message box that is open, once one is; returns what it said."""
        box = wait_for("a message box", lambda: [b for b in self.boxes() if b.getRoleName() == "alert"
                                                 or b.name == "Celvane"], timeout)[-1]
        said = " ".join(label.name for label in pyatspi.findAllDescendants(
            box, lambda a: a is not None and a.getRoleName() == "label" and a.name))
        self.press(button, "push button", within=box)
        # Until it has gone, it takes the input meant for the window behind it.
        def closed():
            try:
                return box not in self.boxes()
            except Failure:  # the answer ended the program; the next step judges how
                return True
        wait_for("the message box to close", closed, timeout)
        return said

    def choose_file(self, path):
        """Types a name into the file dialog that is opening and takes it; the caller waits for
        what follows (the file, or a message)."""
        self.find("File name:", "text", timeout=15).queryEditableText().setTextContents(path)
        dialog = self.boxes()
        self.key("Return")
        wait_for("the file dialog to close", lambda: not any(box in dialog for box in self.boxes()), 15)

    def save_as(self, path):
        self.press("Save As...", "menu item")
        self.choose_file(path)

    def extents(self, control):
        """A control's place on the screen: x, y, width, height."""
        box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height

    def key(self, *keys):
        self.check_alive()
        self.desktop.xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self.check_alive()
        self.desktop.xdotool("type", "--delay", "30", text)

    def drag(self, points, release=True):
        """A pointer drag with the left button through screen points; the button stays down
        unless `release`."""
        self.check_alive()
        x, y = points[0]
        self.desktop.xdotool("mousemove", "--sync", str(x), str(y), "mousedown", "1")
        for x, y in points[1:]:
            self.desktop.xdotool("mousemove", "--sync", str(x), str(y))
            time.sleep(0.02)
        if release:
            self.desktop.xdotool("mouseup", "1")

    def live_for(self, seconds):
        """Lets the program run on its own, as a person pausing does, failing if it dies."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            self.check_alive()
            time.sleep(0.1)
        self.check_alive()

    def wait_exit(self, timeout=20):
        try:
            code = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("the program did not end")
        text = self.output()
        if code != 0 or "Sanitizer" in text or "runtime error:" in text:
            raise Failure(f"the program ended badly ({describe_exit(code)}):\n{report(text)}")

    def exit(self):
        """Ends the program from its File menu, as a person does, and checks that it ended well."""
        self.press("Exit", "menu item")
        self.wait_exit()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()


def report(output):
    """What the program printed, from the sanitizer's first line when it spoke: its error and the
    first frames of its stack are what tell the fault."""
    start = min((i for i in (output.find("ERROR: AddressSanitizer"), output.find("ERROR: LeakSanitizer"),
                             output.find("runtime error:")) if i >= 0), default=max(0, len(output) - 6000))
    return output[max(0, output.rfind("\n", 0, start) + 1):][:6000]


def describe_exit(code):
    if code is None:
        return "still running"
    if code < 0:
        return f"signal {signal.Signals(-code).name}"
    return f"exit status {code}"


def run(scenario, screen=(1366, 768)):
    """Runs `scenario(desktop, binary)` in a desktop of its own, on a screen of this size; prints
    what failed."""
    binary = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "build-test", "bin", "celvane")
    try:
        with Desktop(*screen) as desktop:
            scenario(desktop, os.path.abspath(binary))
    except Failure as e:
        print(f"FAILED: {e}", file=sys.stderr)
        sys.exit(1)
    print("passed")
