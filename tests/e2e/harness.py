"""End-to-end test harness: a private X desktop, the demo site and the launcher.

Standard library only. The X tools it drives: Xvfb, xdpyinfo, hsetroot, openbox,
xcompmgr, xdotool, xwininfo, xprop, wmctrl and ImageMagick's import/convert.

    with Desktop() as desk, DemoSite.for_login_url() as site, Launcher(desk) as app:
        wid = desk.wait_for_window("BrelvoOstrand", 30)
        desk.close_window(wid)
        assert app.wait(15) == 0
"""

import ctypes
import ctypes.util
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.error
import urllib.request
from pathlib import Path
from urllib.parse import urlsplit

SOURCE_DIR = Path(os.environ.get("LAUNCHER_SOURCE_DIR") or Path(__file__).resolve().parents[2])
DEMO_SERVER = SOURCE_DIR / "tools" / "demo_site" / "server.py"
DISPLAY_RANGE = range(90, 141)
WINDOW_TITLE = "BrelvoOstrand"
# Logs and screenshots outlive the desktop so a failed run can be looked at.
ARTIFACTS_DIR = Path(os.environ.get("E2E_ARTIFACTS_DIR") or Path(tempfile.gettempdir()) / "launcher-e2e")


class HarnessError(RuntimeError):
    """The test environment itself could not be set up."""


def require_env(name):
    value = os.environ.get(name)
    if not value:
        raise HarnessError(f"environment variable {name} is not set (ctest sets it; "
                           f"set it by hand when running a test directly)")
    return value


def launcher_bin():
    path = require_env("LAUNCHER_BIN")
    if not os.access(path, os.X_OK):
        raise HarnessError(f"LAUNCHER_BIN={path} is not an executable file")
    return path


def login_url():
    return require_env("LAUNCHER_LOGIN_URL")


def artifact_path(name):
    """A path in the artifacts folder, prefixed with the running test's name."""
    ARTIFACTS_DIR.mkdir(parents=True, exist_ok=True)
    return ARTIFACTS_DIR / f"{Path(sys.argv[0]).stem}-{name}"


def _start(cmd, env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
    # Each child leads its own process group so stopping it also stops what it spawned
    # (WebKit's web and network processes, for one).
    try:
        return subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=stdout,
                                stderr=stderr, start_new_session=True)
    except FileNotFoundError:
        raise HarnessError(f"{cmd[0]} is not installed") from None


def _stop(proc, grace=5.0):
    """Stop a child started by _start and everything in its process group."""
    if proc is None:
        return
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 5.0)):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            proc.wait(wait)
        except subprocess.TimeoutExpired:
            continue
        # The leader is gone; take down any stragglers left in its group.
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        return


def _wait_until(predicate, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            return result
        time.sleep(interval)


class Geometry:
    def __init__(self, x, y, width, height, map_state):
        self.x, self.y, self.width, self.height, self.map_state = x, y, width, height, map_state

    @property
    def viewable(self):
        return self.map_state == "IsViewable"

    def __repr__(self):
        return f"Geometry(x={self.x}, y={self.y}, width={self.width}, height={self.height}, {self.map_state})"


class Screen:
    """A grabbed image of the whole X screen, 8-bit RGB."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel ({x}, {y}) is outside the {self.width}x{self.height} screen")
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class Desktop:
    """Xvfb + openbox (+ xcompmgr) on a free display, torn down on exit.

    env is what children get: DISPLAY, NO_AT_BRIDGE=1, GDK_BACKEND=x11 and private
    XDG directories so the launcher's browser data lives in a throw-away folder.
    """

    def __init__(self, width=1600, height=900, window_manager=True, compositor=False,
                 background="#406080"):
        self.width, self.height = width, height
        self.window_manager, self.compositor = window_manager, compositor
        self.background = background
        self.display = None
        self.env = None
        self.home = None
        self._procs = []

    # -- lifetime ---------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for proc in reversed(self._procs):
            _stop(proc)
        self._procs.clear()
        if self.home:
            shutil.rmtree(self.home, ignore_errors=True)
            self.home = None

    def _start(self):
        self.home = tempfile.mkdtemp(prefix="launcher-e2e-")
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env.update(NO_AT_BRIDGE="1", GDK_BACKEND="x11")
        for var, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                         ("XDG_CACHE_HOME", "cache"), ("XDG_RUNTIME_DIR", "runtime")):
            path = os.path.join(self.home, sub)
            os.makedirs(path, mode=0o700)
            env[var] = path
        self._start_x(env)
        self.env = env
        subprocess.run(["hsetroot", "-solid", self.background], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)
        if self.window_manager:
            self._procs.append(_start(["openbox", "--sm-disable"], env))
            if not _wait_until(self._wm_running, 15):
                raise HarnessError(f"openbox did not start on {self.display}")
        if self.compositor:
            self._procs.append(_start(["xcompmgr", "-n"], env))
            if not _wait_until(self._compositor_running, 15):
                raise HarnessError(f"xcompmgr did not start on {self.display}")

    def _start_x(self, env):
        for number in DISPLAY_RANGE:
            if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
                continue
            display = f":{number}"
            # -noreset: a server reset when the last client leaves would drop the root
            # background and every property set so far.
            proc = _start(["Xvfb", display, "-nolisten", "tcp", "-noreset", "-screen", "0",
                           f"{self.width}x{self.height}x24"], env)
            env["DISPLAY"] = display

            def ready():
                # Xvfb quits at once when another server took the number first.
                if proc.poll() is not None:
                    return "gone"
                return subprocess.run(["xdpyinfo"], env=env, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL).returncode == 0

            state = _wait_until(ready, 15)
            if state is True:
                self._procs.append(proc)
                self.display = display
                return
            _stop(proc)
        raise HarnessError(f"no free X display in :{DISPLAY_RANGE.start}..:{DISPLAY_RANGE.stop - 1}")

    def _wm_running(self):
        out = self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout
        return "window id #" in out

    def _compositor_running(self):
        return _selection_owner(self.display, "_NET_WM_CM_S0") != 0

    # -- running X tools ------------------------------------------------------------

    def run(self, cmd, check=True, timeout=30):
        result = subprocess.run(cmd, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise HarnessError(f"{' '.join(cmd)} failed ({result.returncode}): {result.stderr.strip()}")
        return result

    def start(self, cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL):
        """Start a process on this desktop; the desktop stops it on exit."""
        proc = _start(cmd, self.env, stdout, stderr)
        self._procs.append(proc)
        return proc

    # -- windows --------------------------------------------------------------------

    def find_windows(self, name, exact=True):
        """Ids of visible windows whose title is name (or matches it as a regex)."""
        pattern = f"^{re.escape(name)}$" if exact else name
        result = self.run(["xdotool", "search", "--onlyvisible", "--name", pattern], check=False)
        return [int(line) for line in result.stdout.split()]

    def windows_of_pid(self, pid, visible_only=True):
        cmd = ["xdotool", "search"] + (["--onlyvisible"] if visible_only else []) + ["--pid", str(pid)]
        return [int(line) for line in self.run(cmd, check=False).stdout.split()]

    def wait_for_window(self, name, timeout=30, exact=True):
        """The id of the first visible window titled name; TimeoutError after timeout."""
        found = _wait_until(lambda: self.find_windows(name, exact), timeout, 0.2)
        if not found:
            raise TimeoutError(f"no visible window named {name!r} within {timeout} s; "
                               f"visible windows: {self.describe_windows()}")
        return found[0]

    def wait_for_no_window(self, name, timeout=15, exact=True):
        """True once no visible window is titled name, False after timeout."""
        return bool(_wait_until(lambda: not self.find_windows(name, exact), timeout, 0.2))

    def describe_windows(self):
        lines = self.run(["wmctrl", "-l", "-G"], check=False).stdout.strip().splitlines()
        return "; ".join(" ".join(line.split()) for line in lines) or "(none)"

    def geometry(self, wid):
        """Absolute position, size and map state of a window (xwininfo)."""
        out = self.run(["xwininfo", "-id", str(wid)]).stdout

        def field(label):
            m = re.search(rf"^\s*{label}:\s*(\S+)", out, re.M)
            if not m:
                raise HarnessError(f"xwininfo gave no {label!r} for window {wid}")
            return m.group(1)

        return Geometry(int(field("Absolute upper-left X")), int(field("Absolute upper-left Y")),
                        int(field("Width")), int(field("Height")), field("Map State"))

    def title(self, wid):
        return self.run(["xdotool", "getwindowname", str(wid)]).stdout.rstrip("\n")

    def close_window(self, wid):
        """Ask politely: _NET_CLOSE_WINDOW, which openbox turns into WM_DELETE_WINDOW."""
        self.run(["wmctrl", "-i", "-c", hex(wid)])

    def activate(self, wid):
        self.run(["xdotool", "windowactivate", "--sync", str(wid)])

    # -- input --------------------------------------------------------------------

    def click(self, x, y, button=1, repeat=1):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y),
                  "click", "--repeat", str(repeat), str(button)])

    def move_mouse(self, x, y):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y)])

    def key(self, *keys, wid=None):
        """Press keys (xdotool names such as "F10", "Return", "alt+F4")."""
        target = ["--window", str(wid)] if wid is not None else []
        self.run(["xdotool", "key", "--clearmodifiers"] + target + list(keys))

    def type_text(self, text):
        self.run(["xdotool", "type", "--delay", "20", text])

    # -- pixels -----------------------------------------------------------------------

    def screenshot(self, path):
        self.run(["import", "-window", "root", str(path)])
        return path

    def grab(self):
        """The whole screen as a Screen, for checking many pixels at once."""
        result = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if result.returncode != 0:
            raise HarnessError(f"import failed: {result.stderr.decode(errors='replace').strip()}")
        if len(result.stdout) != self.width * self.height * 3:
            raise HarnessError(f"import gave {len(result.stdout)} bytes for a "
                               f"{self.width}x{self.height} screen")
        return Screen(self.width, self.height, result.stdout)

    def pixel(self, x, y):
        """(r, g, b) of one screen pixel, 0..255."""
        out = self.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"]).stdout
        return parse_txt_pixel(out)


def parse_txt_pixel(text):
    """(r, g, b) from the first pixel line of ImageMagick's txt: format."""
    for line in text.splitlines():
        if line.startswith("#"):
            continue
        m = re.search(r"#([0-9A-Fa-f]{6,})", line)
        if m:
            digits = m.group(1)
            step = len(digits) // (4 if len(digits) in (8, 16) else 3)
            scale = 16 ** step - 1
            return tuple(round(int(digits[i * step:(i + 1) * step], 16) * 255 / scale) for i in range(3))
    raise HarnessError(f"no pixel in ImageMagick output: {text!r}")


def _selection_owner(display, atom_name):
    """Owner window of an X selection, 0 if none (used to see a compositor)."""
    lib = ctypes.util.find_library("X11")
    if not lib:
        raise HarnessError("libX11 not found")
    x11 = ctypes.CDLL(lib)
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x11.XOpenDisplay(display.encode())
    if not dpy:
        return 0
    try:
        atom = x11.XInternAtom(dpy, atom_name.encode(), 0)
        return x11.XGetSelectionOwner(dpy, atom)
    finally:
        x11.XCloseDisplay(dpy)


class DemoSite:
    """tools/demo_site/server.py on 127.0.0.1:port (0 = any free port).

    client_page: another page of the site (such as "/diag/external") served at /client too, so
    the launcher shows it in its login panel.
    """

    def __init__(self, port=0, log_path=None, client_page=None):
        self.requested_port = port
        self.port = None
        self.log_path = log_path
        self.client_page = client_page
        self._proc = None
        self._log = None

    @classmethod
    def for_login_url(cls, url=None, **kwargs):
        """The site on the port of the launcher's built-in login page address."""
        parts = urlsplit(url or login_url())
        if parts.hostname not in ("127.0.0.1", "localhost"):
            raise HarnessError(f"the login page {url!r} is not on this machine; "
                               f"build with LAUNCHER_LOGIN_URL=http://127.0.0.1:PORT/client")
        return cls(parts.port or (443 if parts.scheme == "https" else 80), **kwargs)

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        _stop(self._proc)
        if self._proc is not None and self._proc.stdout:
            self._proc.stdout.close()
        self._proc = None
        if self._log is not None:
            self._log.close()
            self._log = None

    def _start(self):
        self._log = open(self.log_path, "ab") if self.log_path else None
        cmd = [sys.executable, str(DEMO_SERVER), "--port", str(self.requested_port)]
        if self.client_page:
            cmd += ["--client-page", self.client_page]
        self._proc = _start(cmd,
                            dict(os.environ), stdout=subprocess.PIPE,
                            stderr=self._log or subprocess.DEVNULL)
        line = []
        reader = threading.Thread(target=lambda: line.append(self._proc.stdout.readline()), daemon=True)
        reader.start()
        reader.join(15)
        first = line[0].decode(errors="replace").strip() if line else ""
        if not first.startswith("PORT "):
            code = self._proc.poll()
            raise HarnessError(f"demo site did not start on port {self.requested_port}"
                               + (f" (exit code {code})" if code is not None else "")
                               + (f", see {self.log_path}" if self.log_path else ""))
        self.port = int(first.split()[1])
        if not _wait_until(lambda: self._answers(), 10):
            raise HarnessError(f"demo site on port {self.port} does not answer")

    def _answers(self):
        try:
            with urllib.request.urlopen(self.url("/client"), timeout=2) as r:
                return r.status == 200
        except (urllib.error.URLError, OSError):
            return False

    def url(self, path="/client"):
        return f"http://127.0.0.1:{self.port}{path}"

    def get_text(self, path):
        with urllib.request.urlopen(self.url(path), timeout=5) as r:
            return r.read().decode("utf-8")

    def requests(self):
        """Paths (with query) requested so far, oldest first."""
        return self.get_text("/diag/requests").splitlines()

    def reports(self):
        """Query strings that diagnostic pages reported, oldest first."""
        return self.get_text("/diag/reports").splitlines()


class Launcher:
    """The launcher executable on a desktop, output to a log file, stopped on exit."""

    def __init__(self, desktop, binary=None, args=(), log_path=None, env=None):
        self.desktop = desktop
        self.binary = binary or launcher_bin()
        self.args = list(args)
        self.log_path = Path(log_path) if log_path else artifact_path("launcher.log")
        self.extra_env = env or {}
        self.proc = None
        self._log = None

    def __enter__(self):
        self._log = open(self.log_path, "wb")
        env = dict(self.desktop.env)
        env.update(self.extra_env)
        self.proc = _start([self.binary] + self.args, env, stdout=self._log, stderr=subprocess.STDOUT)
        return self

    def __exit__(self, *exc):
        _stop(self.proc)
        if self._log:
            self._log.close()
            self._log = None

    @property
    def pid(self):
        return self.proc.pid

    def wait(self, timeout):
        """Exit code, or None if still running after timeout seconds."""
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.proc.poll() is None

    def windows(self, visible_only=True):
        return self.desktop.windows_of_pid(self.pid, visible_only)

    def wait_for_window(self, name, timeout=30, exact=True):
        """Like Desktop.wait_for_window, but gives up at once if the launcher ends."""
        def found():
            return self.desktop.find_windows(name, exact) or not self.running()

        _wait_until(found, timeout, 0.2)
        windows = self.desktop.find_windows(name, exact)
        if windows:
            return windows[0]
        state = (f"the launcher ended with exit code {self.proc.returncode}" if not self.running()
                 else f"the launcher runs but shows no such window after {timeout} s")
        raise TimeoutError(f"no visible window named {name!r}: {state}; visible windows: "
                           f"{self.desktop.describe_windows()}\nlauncher log:\n{self.log_tail()}")

    def log(self):
        try:
            return self.log_path.read_text(errors="replace")
        except OSError:
            return ""

    def log_tail(self, lines=40):
        return "\n".join(self.log().splitlines()[-lines:])
