#!/usr/bin/python3
"""Benchmarks of the launcher against a bare WebKitGTK window (bench_baseline), under Xvfb.

    tools/bench/run.sh [--runs N] [--idle-seconds S] [--no-build] [--no-write]

Builds what it needs, runs the launcher and the baseline N times each in this one invocation,
and prints one table: every figure is the median of the runs with [minimum-maximum]. The table
and the command line go to tools/bench/PERFORMANCE.md. Nothing here asserts a time.

Where the figures come from:
- the launcher's trace file (LAUNCHER_TRACE_FILE): window mapped, its content first drawn, page
  loads, navigation requests, a page's first draw; the baseline prints the same events;
- /proc: RSS and PSS (smaps_rollup) of the process and its WebKit children, CPU time
  (utime + stime of stat, in clock ticks);
- the screen: the first frame of the game page, seen by reading pixels of the X root window;
- Google Benchmark for the artwork.
"""

import argparse
import ctypes
import ctypes.util
import json
import os
import shlex
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

SOURCE_DIR = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(SOURCE_DIR / "tests" / "e2e"))
import harness  # noqa: E402
from harness import DemoSite, Desktop, HarnessError, WINDOW_TITLE  # noqa: E402

# The login page inside the login window, and its enter button inside the page.
PAGE_ORIGIN = (560, 177)
ENTER_BUTTON = (140, 283)
PAGE_SIZE = (631, 446)
GAME_TITLE_BAR = 30  # the game window's own bar above its web view
# The top of the game page's sky (#070a1f), where its first frame is looked for.
GAME_SKY = (0x07, 0x0A, 0x1F)
SETTLE = 2.0
TIMEOUT = 30.0


# -- small helpers ------------------------------------------------------------------------------

def wait_until(predicate, timeout, interval=0.01):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


def parse_events(lines):
    """[(time, event text)] from "<seconds> <event>" lines."""
    events = []
    for line in lines:
        stamp, _, text = line.rstrip("\n").partition(" ")
        try:
            events.append((float(stamp), text))
        except ValueError:
            pass
    return events


def first(events, test, after=float("-inf")):
    for t, text in events:
        if t >= after and test(text):
            return t
    return None


def is_game_url(url):
    return "client=1" in url


class TraceFile:
    def __init__(self, path):
        self.path = Path(path)

    def events(self):
        try:
            return parse_events(self.path.read_text(errors="replace").splitlines())
        except OSError:
            return []


class StdoutEvents:
    """The baseline's events, read from its stdout as they come."""

    def __init__(self, stream):
        self._lines = []
        self._lock = threading.Lock()
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for raw in stream:
            with self._lock:
                self._lines.append(raw.decode(errors="replace"))

    def events(self):
        with self._lock:
            return parse_events(list(self._lines))


# -- /proc --------------------------------------------------------------------------------------

def children_map():
    kids = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            stat = Path(f"/proc/{entry}/stat").read_text()
        except OSError:
            continue
        ppid = int(stat[stat.rindex(")") + 2:].split()[1])
        kids.setdefault(ppid, []).append(int(entry))
    return kids


def process_tree(pid):
    kids = children_map()
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(kids.get(p, []))
    return out


def kind_of(pid, root):
    if pid == root:
        return "ui"
    try:
        comm = Path(f"/proc/{pid}/comm").read_text().strip()
    except OSError:
        return None
    if comm.startswith("WebKitWebProces"):
        return "web"
    if comm.startswith("WebKitNetworkPr"):
        return "network"
    return "other"


def memory(root):
    """{kind: (rss_kb, pss_kb, count)} for the process and its descendants."""
    totals = {}
    for pid in process_tree(root):
        kind = kind_of(pid, root)
        if kind is None:
            continue
        fields = {}
        try:
            for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
                parts = line.split()
                if len(parts) >= 2 and parts[0] in ("Rss:", "Pss:"):
                    fields[parts[0]] = int(parts[1])
        except OSError:
            continue
        rss, pss, n = totals.get(kind, (0, 0, 0))
        totals[kind] = (rss + fields.get("Rss:", 0), pss + fields.get("Pss:", 0), n + 1)
    return totals


TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_ms(pid):
    """CPU milliseconds so far of one process, threads that ended included (10 ms steps)."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return None
    fields = stat[stat.rindex(")") + 2:].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / TICKS_PER_SECOND


def cpu_by_kind(root):
    out = {}
    for pid in process_tree(root):
        kind = kind_of(pid, root)
        used = cpu_ms(pid) if kind is not None else None
        if used is not None:
            out[(kind, pid)] = used
    return out


def idle_cpu(root, seconds):
    """CPU milliseconds per kind of process over `seconds` of doing nothing."""
    before = cpu_by_kind(root)
    time.sleep(seconds)
    after = cpu_by_kind(root)
    used = {}
    for key, ms in after.items():
        used[key[0]] = used.get(key[0], 0) + ms - before.get(key, 0)
    return used


# -- the screen -----------------------------------------------------------------------------------

class RowWatcher:
    """Reads one row of the X root window as fast as it can and keeps every change, stamped."""

    def __init__(self, display, y, width):
        self.y, self.width = y, width
        self.samples = []  # (time, bytes of the row, BGRX)
        self._stop = threading.Event()
        lib = ctypes.CDLL(ctypes.util.find_library("X11"))
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XDefaultRootWindow.restype = ctypes.c_ulong
        lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        lib.XGetImage.restype = ctypes.POINTER(XImage)
        lib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                  ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        lib.XFree.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._x = lib
        self._dpy = lib.XOpenDisplay(display.encode())
        if not self._dpy:
            raise HarnessError(f"cannot open {display}")
        self._root = lib.XDefaultRootWindow(self._dpy)
        self._thread = threading.Thread(target=self._run, daemon=True)

    def start(self):
        self._thread.start()
        return self

    def stop(self):
        self._stop.set()
        self._thread.join()
        self._x.XCloseDisplay(self._dpy)

    def _run(self):
        last = None
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        while not self._stop.is_set():
            image = self._x.XGetImage(self._dpy, self._root, 0, self.y, self.width, 1, all_planes,
                                      z_pixmap)
            now = time.monotonic()
            if not image:
                continue
            img = image.contents
            row = ctypes.string_at(img.data, img.bytes_per_line)
            self._x.XFree(img.data)
            self._x.XFree(image)
            if row != last:
                self.samples.append((now, row))
                last = row

    def first_match(self, xs, colour, tolerance=10, after=float("-inf")):
        """When most of the points xs first showed colour (r, g, b)."""
        need = len(xs) // 2 + 1
        for t, row in self.samples:
            if t < after:
                continue
            hits = 0
            for x in xs:
                b, g, r = row[x * 4], row[x * 4 + 1], row[x * 4 + 2]
                if all(abs(a - c) <= tolerance for a, c in zip((r, g, b), colour)):
                    hits += 1
            if hits >= need:
                return t
        return None


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int)]


# -- one run of each program ----------------------------------------------------------------------

def private_env(desk, name):
    """The desktop's environment with throw-away XDG folders: every start is a first start."""
    env = dict(desk.env)
    base = Path(tempfile.mkdtemp(prefix=f"{name}-", dir=desk.home))
    for var, sub in (("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                     ("XDG_CACHE_HOME", "cache")):
        (base / sub).mkdir()
        env[var] = str(base / sub)
    return env


def stop(proc):
    harness._stop(proc)


def launcher_run(desk, binary, idle_seconds, shots):
    """Figures of one launcher start, idle period and hand-off."""
    trace = TraceFile(Path(desk.home) / f"trace-{time.monotonic_ns()}.txt")
    env = private_env(desk, "launcher")
    env["LAUNCHER_TRACE_FILE"] = str(trace.path)
    log = open(Path(desk.home) / "launcher.log", "ab")
    t0 = time.monotonic()
    proc = harness._start([binary], env, stdout=log, stderr=subprocess.STDOUT)
    fig = {}
    try:
        def login_ready():
            ev = trace.events()
            mapped = first(ev, lambda e: e.startswith("window-mapped ") and e.endswith(" " + WINDOW_TITLE))
            drawn = first(ev, lambda e: e.startswith("window-drawn ") and e.endswith(" " + WINDOW_TITLE))
            loaded = first(ev, lambda e: e.startswith("load-finished ") and not is_game_url(e))
            return (mapped, drawn, loaded) if None not in (mapped, drawn, loaded) else None

        ready = wait_until(login_ready, TIMEOUT)
        if not ready:
            raise HarnessError("the launcher did not show its login page; trace:\n"
                               + trace.path.read_text(errors="replace")[-3000:])
        mapped, drawn, loaded = ready
        fig["startup.window"] = (max(mapped, drawn) - t0) * 1000
        fig["startup.load"] = (loaded - t0) * 1000

        time.sleep(SETTLE)
        fig["mem.login"] = memory(proc.pid)
        fig["idle"] = idle_cpu(proc.pid, idle_seconds)

        login = desk.find_windows(WINDOW_TITLE)
        if not login:
            raise HarnessError("no login window on the screen")
        geo = desk.geometry(login[0])
        # While the login page's panel can end up under the artwork window, bring it up so the
        # click reaches the page. An untitled window of the launcher is that panel.
        for wid in desk.windows_of_pid(proc.pid):
            if desk.title(wid) == "":
                desk.run(["xdotool", "windowraise", str(wid)])
        time.sleep(0.3)
        if shots:
            desk.screenshot(shots / "launcher-login.png")

        watcher = RowWatcher(desk.display, GAME_TITLE_BAR + 4, desk.width).start()
        try:
            desk.click(geo.x + PAGE_ORIGIN[0] + ENTER_BUTTON[0], geo.y + PAGE_ORIGIN[1] + ENTER_BUTTON[1])

            def handed_off():
                ev = trace.events()
                bn = first(ev, lambda e: e.startswith("before-navigate ") and is_game_url(e))
                if bn is None:
                    return None
                created = first(ev, lambda e: e.startswith("create #32770 ") and "Login" not in e, bn)
                mapped_ = first(ev, lambda e: e.startswith("window-mapped ") and e.endswith(" " + WINDOW_TITLE), bn)
                paint = first(ev, lambda e: e.startswith("first-paint ") and is_game_url(e), bn)
                done = first(ev, lambda e: e.startswith("load-finished ") and is_game_url(e), bn)
                if None in (mapped_, paint, done):
                    return None
                game_url = next(e.split(" ", 1)[1] for _, e in ev if e.startswith("before-navigate ") and is_game_url(e))
                return bn, created, mapped_, paint, done, game_url

            result = wait_until(handed_off, TIMEOUT)
            if not result:
                raise HarnessError("no hand-off to a game window; trace:\n"
                                   + trace.path.read_text(errors="replace")[-3000:])
            bn, created, game_mapped, paint, done, game_url = result
            time.sleep(SETTLE)
        finally:
            watcher.stop()
        fig["game_url"] = game_url
        fig["handoff.mapped"] = (game_mapped - bn) * 1000
        fig["handoff.paint"] = (paint - bn) * 1000
        fig["handoff.loaded"] = (done - bn) * 1000
        if created is not None:
            fig["handoff.created_to_mapped"] = (game_mapped - created) * 1000
        game = [w for w in desk.find_windows(WINDOW_TITLE)]
        if game:
            g = desk.geometry(game[0])
            if g.y == 0 and g.x == 0 and g.width == desk.width:
                xs = [desk.width * k // 8 for k in range(1, 8)]
                seen = watcher.first_match(xs, GAME_SKY, after=bn)
                if seen is not None:
                    fig["handoff.screen"] = (seen - bn) * 1000
        fig["mem.game"] = memory(proc.pid)
        if shots:
            desk.screenshot(shots / "launcher-game.png")
    finally:
        stop(proc)
        log.close()
    return fig


def baseline_run(desk, binary, url, policy, game_url, idle_seconds, shots):
    env = private_env(desk, f"baseline-{policy}")
    t0 = time.monotonic()
    proc = subprocess.Popen([binary, "--url", url, "--width", str(PAGE_SIZE[0]), "--height",
                             str(PAGE_SIZE[1]), "--hw-accel", policy], env=env,
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    out = StdoutEvents(proc.stdout)
    fig = {}
    try:
        def ready():
            ev = out.events()
            mapped = first(ev, lambda e: e == "window-mapped")
            drawn = first(ev, lambda e: e == "window-drawn")
            loaded = first(ev, lambda e: e.startswith("load-finished "))
            return (mapped, drawn, loaded) if None not in (mapped, drawn, loaded) else None

        got = wait_until(ready, TIMEOUT)
        if not got:
            raise HarnessError(f"the baseline ({policy}) did not load its page")
        mapped, drawn, loaded = got
        fig["startup.window"] = (max(mapped, drawn) - t0) * 1000
        fig["startup.load"] = (loaded - t0) * 1000
        time.sleep(SETTLE)
        fig["mem.login"] = memory(proc.pid)
        if idle_seconds:
            fig["idle"] = idle_cpu(proc.pid, idle_seconds)
        if shots:
            desk.screenshot(shots / f"baseline-{policy}-login.png")

        sent = time.monotonic()
        width, height = desk.width, desk.height - GAME_TITLE_BAR
        proc.stdin.write(f"navigate {game_url} {width} {height}\n".encode())
        proc.stdin.flush()
        done = wait_until(lambda: first(out.events(), lambda e: e.startswith("load-finished ") and is_game_url(e), sent), TIMEOUT)
        if not done:
            raise HarnessError(f"the baseline ({policy}) did not load the game page")
        time.sleep(SETTLE)
        fig["mem.game"] = memory(proc.pid)
        if shots:
            desk.screenshot(shots / f"baseline-{policy}-game.png")
    finally:
        stop(proc)
    return fig


# -- figures and the table ------------------------------------------------------------------------

def spread(values, digits=0):
    values = [v for v in values if v is not None]
    if not values:
        return "n/a"
    fmt = f"{{:.{digits}f}}"
    return f"{fmt.format(statistics.median(values))} [{fmt.format(min(values))}–{fmt.format(max(values))}]"


def med(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def ratio(a, b):
    a, b = med(a), med(b)
    return f"{a / b:.2f}×" if a is not None and b else "n/a"


def mem_values(runs, point, kind, field):
    index = {"rss": 0, "pss": 1}[field]
    out = []
    for r in runs:
        m = r.get(point)
        if m is None:
            continue
        if kind == "total":
            out.append(sum(v[index] for v in m.values()) / 1024)
        elif kind in m:
            out.append(m[kind][index] / 1024)
        else:
            out.append(0.0)
    return out


def web_count(runs, point):
    counts = sorted({r[point].get("web", (0, 0, 0))[2] for r in runs if point in r})
    return "/".join(str(c) for c in counts) or "0"


def artwork(binary, runs):
    result = subprocess.run([binary, f"--benchmark_repetitions={runs}", "--benchmark_min_time=0.2",
                             "--benchmark_format=json"], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True, check=True)
    data = json.loads(result.stdout)
    times = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"]
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "us")]
        times.setdefault(name, {"label": b.get("label", ""), "t": []})["t"].append(b["real_time"] * scale)
    return times


def table(launcher, base, base_hw, art, args):
    rows = []
    add = rows.append
    add("| Figure | Launcher | Baseline (NEVER) | Launcher ÷ baseline |")
    add("|---|---|---|---|")
    for key, what in (("startup.window", "Start-up: exec → login window mapped, artwork drawn (ms)"),
                      ("startup.load", "Start-up: exec → login page loaded (ms)")):
        lv, bv = [r[key] for r in launcher], [r[key] for r in base]
        add(f"| {what} | {spread(lv)} | {spread(bv)} | {ratio(lv, bv)} |")
    for point, label in (("mem.login", "login page loaded"), ("mem.game", "game page loaded")):
        for kind, kname in (("ui", "UI process"), ("web", "web process(es)"),
                            ("network", "network process"), ("total", "all processes")):
            for field in ("rss", "pss"):
                lv, bv = mem_values(launcher, point, kind, field), mem_values(base, point, kind, field)
                extra = ""
                if kind == "web":
                    extra = f" ({web_count(launcher, point)} vs {web_count(base, point)})"
                add(f"| Memory, {label}: {kname}{extra} {field.upper()} (MB) | {spread(lv, 1)} | "
                    f"{spread(bv, 1)} | {ratio(lv, bv)} |")
    for kind, kname in (("ui", "UI process"), ("web", "web process(es)"), ("network", "network process")):
        lv = [r["idle"].get(kind, 0.0) for r in launcher]
        bv = [r["idle"].get(kind, 0.0) for r in base if "idle" in r]
        add(f"| Idle, login page shown, {args.idle_seconds:g} s: {kname} CPU (ms) | {spread(lv)} | "
            f"{spread(bv)} | – |")
    for key, what in (("handoff.mapped", "Hand-off: BeforeNavigate2 of the game URL → game window mapped (ms)"),
                      ("handoff.created_to_mapped", "Hand-off: game window created → mapped (ms)"),
                      ("handoff.paint", "Hand-off: BeforeNavigate2 → game page's first draw in its view (ms)"),
                      ("handoff.screen", "Hand-off: BeforeNavigate2 → game page's first frame on the screen (ms)"),
                      ("handoff.loaded", "Hand-off: BeforeNavigate2 → game page loaded (ms)")):
        add(f"| {what} | {spread([r.get(key) for r in launcher])} | – | – |")

    rows.append("")
    rows.append("WebKit hardware-acceleration policy, on the baseline:")
    rows.append("")
    rows.append("| Figure | NEVER | ON_DEMAND | NEVER ÷ ON_DEMAND |")
    rows.append("|---|---|---|---|")
    for key, what in (("startup.window", "Start-up: exec → window mapped, drawn (ms)"),
                      ("startup.load", "Start-up: exec → page loaded (ms)")):
        a, b = [r[key] for r in base], [r[key] for r in base_hw]
        add(f"| {what} | {spread(a)} | {spread(b)} | {ratio(a, b)} |")
    for point, label in (("mem.login", "login page"), ("mem.game", "game page")):
        for kind, kname in (("web", "web process"), ("total", "all processes")):
            for field in ("rss", "pss"):
                a, b = mem_values(base, point, kind, field), mem_values(base_hw, point, kind, field)
                add(f"| Memory, {label}: {kname} {field.upper()} (MB) | {spread(a, 1)} | {spread(b, 1)} | {ratio(a, b)} |")

    if art:
        rows.append("")
        rows.append("Artwork (Google Benchmark, the program's own code on the simulated desktop):")
        rows.append("")
        rows.append("| Benchmark | Picture | Time (µs) |")
        rows.append("|---|---|---|")
        for name, v in art.items():
            rows.append(f"| {name} | {v['label']} | {spread(v['t'], 1)} |")
    return "\n".join(rows)


def machine():
    cpu = "unknown CPU"
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    webkit = subprocess.run(["pkg-config", "--modversion", "webkit2gtk-4.1"], stdout=subprocess.PIPE,
                            text=True).stdout.strip()
    return f"{cpu}, {os.cpu_count()} CPUs; WebKitGTK {webkit}; Xvfb 1600x900x24, openbox, xcompmgr"


# -- main ---------------------------------------------------------------------------------------

def build(build_dir, port):
    subprocess.run(["cmake", "-S", str(SOURCE_DIR), "-B", str(build_dir), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                    f"-DLAUNCHER_LOGIN_URL=http://127.0.0.1:{port}/client"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["ninja", "-C", str(build_dir), "brelvo-launcher", "bench_baseline",
                    "artwork_bench"], check=True, stdout=subprocess.DEVNULL)


def login_url_of(build_dir):
    for line in (Path(build_dir) / "CMakeCache.txt").read_text().splitlines():
        if line.startswith("LAUNCHER_LOGIN_URL:"):
            return line.split("=", 1)[1]
    raise HarnessError(f"no LAUNCHER_LOGIN_URL in {build_dir}/CMakeCache.txt")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5, help="repetitions of everything (5)")
    parser.add_argument("--idle-seconds", type=float, default=10.0, help="idle period (10)")
    parser.add_argument("--build-dir", default=str(SOURCE_DIR / "build" / "bench"))
    parser.add_argument("--no-build", action="store_true", help="use the build as it is")
    parser.add_argument("--no-write", action="store_true", help="do not write PERFORMANCE.md")
    parser.add_argument("--shots", default=None,
                        help="folder for screenshots of the first run (default: a temporary one)")
    args = parser.parse_args()
    build_dir = Path(args.build_dir)

    if not args.no_build:
        sock_port = subprocess.run([sys.executable, str(SOURCE_DIR / "tools" / "free-port.py")],
                                   stdout=subprocess.PIPE, text=True, check=True).stdout.strip()
        print(f"building in {build_dir} (login page on port {sock_port})...", file=sys.stderr)
        build(build_dir, sock_port)
    url = login_url_of(build_dir)
    launcher_bin = str(build_dir / "brelvo-launcher")
    baseline_bin = str(build_dir / "tools" / "bench" / "bench_baseline")
    artwork_bin = build_dir / "tools" / "bench" / "artwork_bench"
    shots = Path(args.shots or tempfile.mkdtemp(prefix="launcher-bench-shots-"))
    shots.mkdir(parents=True, exist_ok=True)

    launcher, base, base_hw = [], [], []
    with DemoSite.for_login_url(url) as site:
        for i in range(args.runs):
            print(f"run {i + 1}/{args.runs}...", file=sys.stderr)
            first_shots = shots if i == 0 else None
            with Desktop(compositor=True) as desk:
                lf = launcher_run(desk, launcher_bin, args.idle_seconds, first_shots)
            launcher.append(lf)
            with Desktop(compositor=True) as desk:
                base.append(baseline_run(desk, baseline_bin, site.url(), "never", lf["game_url"],
                                         args.idle_seconds, first_shots))
            with Desktop(compositor=True) as desk:
                base_hw.append(baseline_run(desk, baseline_bin, site.url(), "on-demand",
                                            lf["game_url"], 0, first_shots))
    art = artwork(str(artwork_bin), args.runs) if artwork_bin.exists() else {}

    command = "tools/bench/run.sh" + "".join(f" {shlex.quote(a)}" for a in sys.argv[1:])
    text = table(launcher, base, base_hw, art, args)
    print(text)
    print(f"\nscreenshots of the first run: {shots}", file=sys.stderr)
    if not args.no_write:
        (SOURCE_DIR / "tools" / "bench" / "PERFORMANCE.md").write_text(document(command, text))


def document(command, text):
    return f"""## Performance

Produced by `{command}` on {machine()}, {time.strftime('%Y-%m-%d')}.
Each figure is the median of the runs, [minimum–maximum]. The launcher and the baseline (one
undecorated GTK window with one WebKitWebView, `tools/bench/baseline.cpp`, same page, same view
size) ran in the same invocation against the demo site, under Xvfb, each start with fresh
XDG folders.

{text}

How the figures are taken:
- Times come from the launcher's trace file (`LAUNCHER_TRACE_FILE=path`: window mapped, its
  content first drawn, page load events, navigation requests, first draw of a page's view, on
  the monotonic clock); the baseline prints the same events. "exec" is the moment the script
  starts the process.
- "First frame on the screen" reads pixels of the X root window until the top of the game page's
  sky shows; "first draw in its view" is the first GTK draw of the web view after the page
  committed.
- Memory is `/proc/PID/smaps_rollup` of the process and its WebKit children, 2 s after the page
  finished loading. Idle CPU is utime + stime from `/proc/PID/stat` (10 ms steps) over the idle
  period, starting 2 s after the login page loaded.
- The hand-off clicks the login page's enter button with xdotool. Before the click the script
  raises the launcher's untitled panel window, which can otherwise end up under the login
  artwork window.
- Aims, not asserts: start-up within 1.1× of the baseline, memory per browser within 1.1×, no
  CPU while idle, the game window mapped within a frame or two of its creation.
"""


if __name__ == "__main__":
    main()
