#!/usr/bin/env python3
"""The real Vorl.exe under Wine on the X display in $DISPLAY: snow on the
screen, the camera keys, resizing, minimising, a display mode change, the
fatal messages with their exit codes, Escape, and the progress lines of one
start.

    snow_e2e.py <bin folder> [--shot <png>] [--dpi-shot <png>] [cases...]

Needs xdotool and ImageMagick, a running X server ($DISPLAY) and preferably a
persistent wineserver (scripts/test.sh provides both). Progress lines are read
from Wine's +debugstr trace, message box texts from its +msgbox trace.
"""
import argparse
import contextlib
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run.sh")

MISSING_FILE = "Vorl.bmp\uff8c\uff67\uff72\uff99\u304c\u8aad\u307f\u8fbc\u3081\u307e\u305b\u3093"
SETUP_FAILED = "DirectX\u306e\u521d\u671f\u5316\u306b\u5931\u6557\u3057\u307e\u3057\u305f"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(*args, check_rc=True):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if check_rc and result.returncode != 0:
        raise Failure("%s failed: %s" % (" ".join(args), result.stderr.strip()))
    return result.stdout


def decode_wine_string(text):
    """Undoes Wine's debugstr escaping: \\n, \\t, \\\\, \\", \\xxxx (hex)."""
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c != "\\" or i + 1 >= len(text):
            out.append(c)
            i += 1
            continue
        n = text[i + 1]
        simple = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"'}
        if n in simple:
            out.append(simple[n])
            i += 2
        elif n == "x" and re.match(r"[0-9a-fA-F]{2}", text[i + 2:i + 4]):
            out.append(chr(int(text[i + 2:i + 4], 16)))
            i += 4
        elif re.match(r"[0-9a-fA-F]{4}", text[i + 1:i + 5]):
            out.append(chr(int(text[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append(c)
            i += 1
    return "".join(out)


# +relay traces only the timer period calls (the prefix's RelayInclude).
TRACES = "err+all,+debugstr,+msgbox,+loaddll,+relay"


class Program:
    """One Vorl.exe process with its Wine trace in a file."""

    def __init__(self, workdir, exe, overrides=None, env_extra=None):
        self.log_path = tempfile.mktemp(prefix="vorl-e2e-", suffix=".log")
        env = dict(os.environ)
        env["WINEDEBUG"] = TRACES
        if overrides:
            env["WINEDLLOVERRIDES"] = overrides
        env.update(env_extra or {})
        self.log = open(self.log_path, "wb")
        self.proc = subprocess.Popen([WINE_RUN, exe], cwd=workdir, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=self.log, start_new_session=True)

    def text(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def debug_lines(self):
        """Every OutputDebugStringA text, in order."""
        lines = []
        for m in re.finditer(r'[a-z]+:debugstr:OutputDebugStringA "(.*)"\s*$', self.text(), re.M):
            lines.append(decode_wine_string(m.group(1)))
        return lines

    def message_boxes(self):
        return [decode_wine_string(m.group(1))
                for m in re.finditer(r'trace:msgbox:MSGBOX_OnInit L"(.*)"\s*$', self.text(), re.M)]

    def wait_for(self, predicate, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if predicate():
                return
            if self.proc.poll() is not None and not predicate():
                raise Failure("program ended (code %s) while waiting for %s" % (self.proc.returncode, what))
            time.sleep(0.1)
        raise Failure("timed out waiting for %s" % what)

    def retained_mode(self):
        """How Wine loaded d3drm.dll: "native" (the one beside the program,
        ours), "builtin" (Wine's own), or None when it was not loaded."""
        m = re.search(r'trace:loaddll:\S+ Loaded L"[^"]*\\\\d3drm\.dll" at \S+: (\w+)', self.text(), re.I)
        return m.group(1) if m else None

    def timer_periods(self):
        """The timer period requests, in order: "begin 1", "end 1", ..."""
        return ["%s %d" % (m.group(1).lower(), int(m.group(2), 16))
                for m in re.finditer(r"Call winmm\.time(Begin|End)Period\(([0-9a-fA-F]+)\)", self.text())]

    def cpu_seconds(self):
        """User and system time of the program and of the prefix's
        wineserver, which does the waiting and waking for it."""
        total = 0
        for pid in (self.proc.pid, wineserver_pid()):
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        return total / os.sysconf("SC_CLK_TCK")

    def working_set(self):
        """The program's resident memory in kB."""
        with open("/proc/%d/status" % self.proc.pid) as f:
            return int(re.search(r"^VmRSS:\s+(\d+) kB", f.read(), re.M).group(1))

    def resident_by_kind(self):
        """The program's resident memory in kB by kind of mapping: "brk" (the
        C library's [heap]), "anon" (unnamed data: the Windows address space's
        private memory, and the C library's mmap'ed arenas of Wine's Unix side,
        the X libraries and the GL driver), "jit" (unnamed executable memory:
        the GL driver's compiled shaders), "gl" (the GL driver's and LLVM's
        files), "files" (the rest: Wine, the program, the other libraries)."""
        kinds = dict.fromkeys(("brk", "anon", "jit", "gl", "files"), 0)
        kind = "files"
        with open("/proc/%d/smaps" % self.proc.pid) as f:
            for line in f:
                fields = line.split()
                if re.match(r"[0-9a-f]+-[0-9a-f]+ ", line):
                    name = fields[5] if len(fields) > 5 else ""
                    if name == "[heap]":
                        kind = "brk"
                    elif not name or name.startswith("[anon"):
                        kind = "jit" if "x" in fields[1] else "anon"
                    elif re.search(r"/dri/|gallium|LLVM|libGL|mesa", name):
                        kind = "gl"
                    else:
                        kind = "files"
                elif fields and fields[0] == "Rss:":
                    kinds[kind] += int(fields[1])
        return kinds

    def count(self, line):
        return sum(1 for l in self.debug_lines() if l == line)

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("program did not end within %s s" % timeout)

    def close(self):
        ended_by_itself = self.proc.poll() is not None
        if not ended_by_itself:
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait()
        self.log.close()
        if ended_by_itself and self.proc.returncode < 0:
            # Wine turns a fault in Windows code into an exception and an exit
            # code; a Unix signal means it died in its own or a library's code.
            # The trace's end shows how far the process had got.
            print("  Wine died of signal %d; the end of its trace:" % -self.proc.returncode)
            for line in self.text().splitlines()[-12:]:
                print("    " + line)
        if os.environ.get("VORL_E2E_KEEP_LOGS"):
            print("  log: %s" % self.log_path)
        else:
            os.unlink(self.log_path)


def wineserver_pid():
    """The wineserver of this prefix: its working folder is named after the
    prefix folder's device and inode."""
    st = os.stat(os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine")))
    name = "server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.path.basename(os.readlink("/proc/%s/cwd" % pid)) == name:
                with open("/proc/%s/comm" % pid) as f:
                    if f.read().strip().startswith("wineserver"):
                        return int(pid)
        except OSError:
            pass
    raise Failure("no wineserver for this prefix")


def ship(bin_folder, workdir):
    """The zip's layout in workdir: Vorl.exe with our d3drm.dll beside it."""
    for name in ("Vorl.exe", "d3drm.dll"):
        shutil.copy(os.path.join(bin_folder, name), workdir)


def windows_named(name):
    out = run("xdotool", "search", "--name", "^%s$" % name, check_rc=False)
    return [w for w in out.split()]


def wait_window(program, timeout=20, count=1):
    end = time.time() + timeout
    while time.time() < end:
        wins = windows_named("Vorl")
        if len(wins) >= count:
            return wins
        if not program.running():
            raise Failure("program ended (code %s) before its window appeared" % program.proc.returncode)
        time.sleep(0.1)
    raise Failure("no window titled Vorl")


def focus(window):
    run("xdotool", "windowfocus", "--sync", window, check_rc=False)


def hold(window, key, seconds):
    focus(window)
    run("xdotool", "keydown", key)
    time.sleep(seconds)
    run("xdotool", "keyup", key)


def geometry(window):
    out = run("xdotool", "getwindowgeometry", "--shell", window)
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def inner_area(window, client=None):
    """The window's inner area (frame and caption cut away) on the screen:
    x, y, width, height. With the client size (width, height) the frame is
    measured from it, else taken as the one at 96 DPI."""
    x, y, w, h = geometry(window)
    top, side = 30, 6
    if client:
        side = (w - client[0]) // 2
        top = h - client[1] - side
    return x + side, y + top, w - 2 * side, h - top - side


def screenshot(window, path, client=None):
    """The window's inner area as PNG."""
    x, y, w, h = inner_area(window, client)
    run("import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", path)
    return path


def stats(path):
    """Mean grey level, share of bright pixels, share of black pixels (0..1),
    and the x centroid of the brightness (0 left .. 1 right)."""
    out = run("convert", path, "-colorspace", "Gray", "-format",
              "%[fx:mean] ", "-write", "info:", "(", "+clone", "-threshold", "50%", "-format",
              "%[fx:mean] ", "-write", "info:", ")", "(", "+clone", "-negate", "-threshold", "96%",
              "-format", "%[fx:mean] ", "-write", "info:", ")", "null:")
    mean, bright, black = [float(v) for v in out.split()[:3]]
    # Brightness-weighted x centroid from a 64-column profile.
    prof = run("convert", path, "-colorspace", "Gray", "-resize", "64x1!", "-depth", "16", "txt:-")
    values = [float(m.group(1)) for m in re.finditer(r"^\d+,0: \((\d+(?:\.\d+)?)", prof, re.M)]
    total = sum(values)
    centroid = sum(i * v for i, v in enumerate(values)) / total / 63.0 if total else 0.5
    return {"mean": mean, "bright": bright, "black": black, "centroid": centroid}


class XImage(ctypes.Structure):
    """The leading fields of Xlib's XImage."""
    _fields_ = [(name, ctypes.c_int) for name in ("width", "height", "xoffset", "format")] + \
               [("data", ctypes.c_void_p)] + \
               [(name, ctypes.c_int) for name in ("byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad",
                                                  "depth", "bytes_per_line", "bits_per_pixel")]


def frame_profiles(window, count, timeout=10):
    """Column profiles (the green channel summed down each column) of count
    successive frames of the window's inner area: each picture is the first
    that differs from the one before, so they are one frame apart, or a few,
    however busy the machine. Read straight from the X server (XGetImage on
    the root window, 24-bit colour), a few milliseconds a picture."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 4 + [ctypes.c_ulong, ctypes.c_int]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
    x, y, w, h = inner_area(window)
    display = x11.XOpenDisplay(None)
    check(display, "no connection to the X display")
    pictures, end = [], time.time() + timeout
    try:
        while len(pictures) < count:
            check(time.time() < end, "the picture changed %d times in %d s" % (len(pictures) - 1, timeout))
            image = x11.XGetImage(display, x11.XDefaultRootWindow(display), x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
            check(image and image.contents.bits_per_pixel == 32, "a 32-bit picture of the screen")
            line = image.contents.bytes_per_line
            data = ctypes.string_at(image.contents.data, line * h)
            x11.XDestroyImage(image)
            if not pictures or data != pictures[-1][0]:
                pictures.append((data, line))
            time.sleep(0.002)
    finally:
        x11.XCloseDisplay(display)
    return [[sum(data[4 * column + 1::line]) for column in range(w)] for data, line in pictures]


def best_shift(a, b, largest=250):
    """The horizontal shift of the column profile b against a that matches
    best (positive: b moved right)."""
    n = min(len(a), len(b))
    a, b = a[:n], b[:n]
    mean_a, mean_b = sum(a) / n, sum(b) / n
    a = [v - mean_a for v in a]
    b = [v - mean_b for v in b]
    best, best_score = 0, None
    for shift in range(-largest, largest + 1):
        lo, hi = max(0, shift), min(n, n + shift)
        if hi - lo < n // 3:
            continue
        score = sum(a[i - shift] * b[i] for i in range(lo, hi)) / (hi - lo)
        if best_score is None or score > best_score:
            best, best_score = shift, score
    return best


def blob_sizes(path):
    """Mean area in pixels of the separate bright spots, 0 without any."""
    out = run("convert", path, "-colorspace", "Gray", "-threshold", "25%", "-define",
              "connected-components:verbose=true", "-connected-components", "8", "null:")
    areas = [int(m.group(1)) for m in re.finditer(r"^\s*\d+: \S+ \S+ (\d+) (?:gray\(255\)|srgb\(255,255,255\)|#FFFFFF)",
                                                  out, re.M)]
    return sum(areas) / len(areas) if areas else 0.0


def flake_count(path, quarters=False):
    """Separate bright spots in the picture, or in each of its quarters (a
    list, by rows)."""
    out = run("convert", path, *(["-crop", "2x2@", "+repage"] if quarters else []), "-colorspace", "Gray",
              "-threshold", "40%", "-define", "connected-components:verbose=true", "-connected-components", "8",
              "null:")
    counts = [sum(1 for line in part.splitlines() if re.search(r"gray\(255\)|srgb\(255,255,255\)|#FFFFFF", line))
              for part in out.split("Objects (")[1:]]
    return counts if quarters else sum(counts)


def phase4_count(program):
    return program.count("phase 4\n")


def setup_sequence(lines):
    """The lines of the first set-up: from its NVX:Norvexa Initialize to phase 4."""
    start = lines.index("NVX:Norvexa Initialize\n")
    end = lines.index("phase 4\n", start)
    return lines[start:end + 1]


EXPECTED_SETUP = [
    r"NVX:Norvexa Initialize\n",
    r"NVX:CreateDirectDrawWin\n",
    r"NVX:Norvexa Cleanup\n",
    r"NVX:CreateD3DRM\n",
    r"(NVX:DeviceName :.* [0-9a-f]+\n)?",
    r"NVX:HAL DeviceName :.* [0-9a-f]+\n",
    r"NVX:I'll use HAL\n",
    r"NVX:DeviceGuid [0-9a-f]+\n",
    r"NVX:NVXViewport\n",
    r"NVX:Viewport width:\d+ height:\d+\n",
    r"phase 3\n",
    r"phase 4\n",
]


def first_frames(p, retained_mode="native"):
    """The program's window once its first set-up has run on the expected
    d3drm.dll ("native": ours, beside the program; "builtin": Wine's)."""
    win = wait_window(p)[0]
    focus(win)
    p.wait_for(lambda: phase4_count(p) >= 1, 30, "the first set-up")
    check(p.retained_mode() == retained_mode,
          "d3drm.dll loaded as %s, expected %s" % (p.retained_mode(), retained_mode))
    return win


def case_snow(args):
    """Snow, the keys, resize, minimise and restore, Escape; the progress lines."""
    p = Program(args.bin, "Vorl.exe")
    try:
        win = first_frames(p)
        time.sleep(3)

        lines = p.debug_lines()
        seq = setup_sequence(lines)
        pattern = "".join(EXPECTED_SETUP)
        check(re.fullmatch(pattern, "".join(seq), re.S) is not None,
              "progress lines of the set-up:\n%s" % "".join(seq))
        check("vusk: Failed to CreateMaterial\n" not in lines, "the texture material failed")
        x, y, w, h = geometry(win)
        m = re.search(r"NVX:Viewport width:(\d+) height:(\d+)", "".join(seq))
        check(m is not None and int(m.group(1)) > 100 and int(m.group(2)) > 100,
              "viewport of the client size: %s" % "".join(seq))

        shot = screenshot(win, tempfile.mktemp(suffix=".png"))
        s = stats(shot)
        flakes = flake_count(shot)
        print("  snow: mean %.4f bright %.4f black %.3f flakes %d" % (s["mean"], s["bright"], s["black"], flakes))
        if args.shot:
            shutil.copy(shot, args.shot)
        check(s["black"] > 0.8, "mostly black background")
        check(s["bright"] > 0.0005, "bright flakes")
        check(flakes >= 100, "many separate flakes, found %d" % flakes)

        # Left turns the camera about the vertical axis: every flake slides
        # sideways by the same number of pixels per frame (about 17), while
        # falling flakes only move down. The column profile of the picture
        # shows it. Over many frames the falling flakes change the sparse
        # profile enough for a false shift, so the shift is measured between
        # successive frames, whatever the load, and the median of five such
        # pairs counts: idle, at most a pixel a frame.
        def sideways(pairs=5):
            profiles = frame_profiles(win, pairs + 1)
            shifts = sorted(best_shift(a, b) for a, b in zip(profiles, profiles[1:]))
            return shifts[pairs // 2], shifts
        idle, idle_shifts = sideways()
        focus(win)
        run("xdotool", "keydown", "Left")
        time.sleep(0.5)
        try:
            turning, turning_shifts = sideways()
        finally:
            run("xdotool", "keyup", "Left")
        print("  left: column shift a frame idle %d px %s, Left held %d px %s"
              % (idle, idle_shifts, turning, turning_shifts))
        check(abs(idle) <= 1, "flakes fall without sliding sideways")
        check(abs(turning - idle) >= 8, "Left slides the picture sideways")

        # A resize rebuilds the surfaces and the next frame sets up again.
        setups = phase4_count(p)
        resizes = p.count("NVX:Resize Window\n")
        keyboard_size(win, "Left", 6)  # the left border outwards: wider
        p.wait_for(lambda: p.count("NVX:Resize Window\n") > resizes, 10, "the resize line")
        p.wait_for(lambda: phase4_count(p) > setups, 20, "the set-up after the resize")
        time.sleep(1.5)
        check(p.running(), "running after the resize")
        after = p.debug_lines()
        last_init = len(after) - 1 - after[::-1].index("NVX:Norvexa Initialize\n")
        m = re.search(r"NVX:Viewport width:(\d+) height:(\d+)", "".join(after[last_init:]))
        first_width = int(re.search(r"width:(\d+)", "".join(seq)).group(1))
        check(m is not None and int(m.group(1)) > first_width, "the new set-up uses the new client size")
        s_resized = stats(screenshot(win, shot))
        check(s_resized["bright"] > 0.0005, "snow after the resize")

        # Minimise and restore through the system menu's commands.
        minimise_and_restore(win, p)
        check(p.running(), "running after minimise and restore")
        focus(win)
        time.sleep(1.0)
        check(stats(screenshot(win, shot))["bright"] > 0.0005, "snow after restoring")

        # Page Up moves the eye forward through the field: the flakes ahead
        # come nearer and grow. (The whole picture does not brighten: fewer
        # flakes stay in front of the eye and in view.) Short holds, a look
        # after each.
        base = blob_sizes(screenshot(win, shot))
        sizes = []
        for _ in range(12):
            hold(win, "Prior", 0.25)
            time.sleep(0.2)
            sizes.append(blob_sizes(screenshot(win, shot)))
            if sizes[-1] > base * 1.5:
                break
        print("  page up: mean flake area %.1f -> %s px" % (base, " ".join("%.1f" % a for a in sizes)))
        check(max(sizes) > base * 1.5, "Page Up makes the flakes grow")

        focus(win)
        run("xdotool", "key", "Escape")
        code = p.wait_exit(15)
        check(code == 0, "Escape ends with exit code 0, got %s" % code)
        check(p.timer_periods() == ["begin 1", "end 1"], "1 ms ticks asked for and given back: %r" % p.timer_periods())
        os.unlink(shot)
    finally:
        p.close()


def pictures_differ(path_a, path_b):
    result = subprocess.run(["compare", "-metric", "AE", path_a, path_b, "null:"],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    return float(result.stderr.split()[0]) > 0


def idle_share(p, seconds=5.0):
    """The share of one core that the program and its wineserver use while
    nothing moves."""
    time.sleep(1.0)  # the last frame and the focus change settle
    start = p.cpu_seconds()
    time.sleep(seconds)
    return (p.cpu_seconds() - start) / seconds


def click_uncovered(win, cover):
    """Clicks the window where the window cover (x, y, width, height) leaves
    it uncovered, inside its frame: a click activates a window as on Windows.
    (Without a window manager X focus alone does not give Wine's windows the
    focus back.)"""
    x, y, w, h = geometry(win)
    cx, cy, cw, ch = cover
    for px, py in ((w - 40, h - 40), (40, h - 40), (w - 40, 60), (40, 60)):
        if not (cx <= x + px < cx + cw and cy <= y + py < cy + ch):
            run("xdotool", "mousemove", "--window", win, str(px), str(py), "click", "1")
            return
    raise Failure("the window is covered")


def case_idle_background(args):
    """Without the focus the program waits for messages instead of spinning:
    with another program's window focused, and minimised, it and its
    wineserver use under 5 % of a core; with the focus back, the snow moves
    within a second."""
    p = Program(args.bin, "Vorl.exe")
    other = None
    try:
        win = first_frames(p)
        # Another program: its window takes the focus as it opens.
        other = Program(args.bin, "notepad")
        end = time.time() + 20
        while not run("xdotool", "search", "--class", "notepad", check_rc=False).split():
            check(time.time() < end and other.running(), "another program's window")
            time.sleep(0.2)
        time.sleep(1.0)
        # The editor's main window: the largest of its windows.
        editor = max(run("xdotool", "search", "--class", "notepad").split(), key=lambda w: geometry(w)[2] * geometry(w)[3])
        behind = idle_share(p)
        click_uncovered(win, geometry(editor))
        start = time.time()
        shot = screenshot(win, tempfile.mktemp(suffix=".png"))
        moved = False
        while not moved and time.time() - start < 1.0:
            moved = pictures_differ(shot, screenshot(win, shot + ".2.png"))
        system_command(win, "n")
        minimised = idle_share(p)
        print("  idle: %.1f %% of a core behind another window, %.1f %% minimised" % (100 * behind, 100 * minimised))
        check(behind < 0.05, "behind another window: %.1f %% of a core" % (100 * behind))
        check(moved, "the snow moves within 1 s of the focus coming back")
        check(minimised < 0.05, "minimised: %.1f %% of a core" % (100 * minimised))
        system_command(win, "r")
        focus(win)
        run("xdotool", "key", "Escape")
        check(p.wait_exit(15) == 0, "Escape ends with exit code 0")
        for path in (shot, shot + ".2.png"):
            os.unlink(path)
    finally:
        if other:
            other.close()
        p.close()


def open_about(win):
    """Opens the About box from the system menu. The About item is the menu's
    last: Up from the first item wraps to it. (Its key "A" is no use: Wine's
    own About item claims it first.) Returns the box's window once it shows."""
    focus(win)
    run("xdotool", "key", "alt+space")
    time.sleep(0.4)
    run("xdotool", "key", "Up")
    time.sleep(0.2)
    run("xdotool", "key", "Return")
    end = time.time() + 10
    while time.time() < end:
        boxes = run("xdotool", "search", "--name", "^Vorl.+", check_rc=False).split()
        if boxes:
            return boxes[-1]
        time.sleep(0.2)
    raise Failure("the About box did not open from the system menu")


def resource_texts():
    """The About item's text and the About box's caption and texts, as the
    resource script holds them."""
    with open(os.path.join(ROOT, "res", "vorl.rc"), encoding="utf-8") as f:
        rc = f.read()
    about = rc[rc.index("IDD_ABOUTBOX DIALOG"):]
    about = about[:about.index("\nEND")]
    caption = re.search(r'^CAPTION "(.*)"', about, re.M).group(1)
    texts = re.findall(r'^\s*CONTROL\s+"(.*?)"', about, re.M)
    item = re.search(r'IDS_ABOUTBOX\s+"(.*)"', rc).group(1)
    return item, caption, texts


def case_english_windows(args):
    """On a Windows whose language for non-Unicode programs is English (code
    page 1252), the About item, the About box's caption and its texts reach
    the screen as the resources hold them, read back in UTF-16 from Wine's
    menu and window traces."""
    p = Program(args.bin, "Vorl.exe",
                env_extra={"VORL_LANG": "en_US.UTF-8", "WINEDEBUG": TRACES + ",+menu,+win,+nls"})
    try:
        win = first_frames(p)
        box = open_about(win)
        time.sleep(1.0)
        if args.shot:
            shot = os.path.join(os.path.dirname(args.shot), "about_en.png")
            x, y, w, h = geometry(box)
            run("import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", shot)
            print("  About box in English: %s" % shot)
        item, caption, texts = resource_texts()
        log = p.text()
        # The premise: the runtime's start converts every byte through the
        # ANSI code page (and ASCII's, 20127), and Wine's +nls shows which.
        tables = set(re.findall(r'trace:nls:MultiByteToWideChar cp (\d+) "\\x00\\x01\\x02', log)) - {"20127"}
        check(tables == {"1252"}, "the program ran under code page 1252, not %r" % tables)
        items = [decode_wine_string(m.group(1))
                 for m in re.finditer(r'set_menu_item_info to: \{ ID=0x10, Text=L"(.*)"\s+\}', log)]
        created = [decode_wine_string(m.group(1))
                   for m in re.finditer(r'trace:win:WIN_CreateWindowEx L"((?:[^"\\]|\\.)*)"', log)]
        print("  English: item %r, windows %r" % (items, [t for t in created if t.startswith("Vorl") or t in texts]))
        check(items == [item], "the About item's text %r, expected %r" % (items, item))
        for text in [caption] + texts:
            check(text in created, "the About box shows %r" % text)
        focus(box)
        run("xdotool", "key", "Return")
        focus(win)
        run("xdotool", "key", "Escape")
        check(p.wait_exit(15) == 0, "Escape ends with exit code 0")
    finally:
        p.close()


def keyboard_size(win, key, steps):
    """Sizes the window as its system menu's Size command does, by keys."""
    focus(win)
    run("xdotool", "key", "alt+space")
    time.sleep(0.4)
    run("xdotool", "key", "s")
    time.sleep(0.3)
    for _ in range(steps):
        run("xdotool", "key", key)
        time.sleep(0.1)
    run("xdotool", "key", "Return")
    time.sleep(0.5)
    focus(win)


def system_command(win, key):
    """Alt+Space opens the system menu; the command is picked by its key."""
    focus(win)
    run("xdotool", "key", "alt+space")
    time.sleep(0.4)
    run("xdotool", "key", key)
    time.sleep(1.0)


def minimise_and_restore(win, program):
    resizes = program.count("NVX:Resize Window\n")
    before = geometry(win)
    system_command(win, "n")
    minimised = geometry(win)
    print("  minimised: %s, restored from %s" % (minimised, before))
    check(program.running(), "running while minimised")
    check(minimised[3] < before[3] // 2, "the window is minimised")
    check(program.count("NVX:Resize Window\n") == resizes, "minimising rebuilds nothing")
    system_command(win, "r")
    check(geometry(win)[2:] == before[2:], "the window is restored")


def fatal_case(workdir, exe, overrides, expected_text, loads=None):
    """The message box, then Enter: exit code 1. A list `loads` gets the
    path of every d3drm.dll that Wine loaded (its +loaddll trace)."""
    p = Program(workdir, exe, overrides)
    try:
        p.wait_for(lambda: expected_text in p.message_boxes(), 30, "the message box")
        boxes = p.message_boxes()
        check(boxes == [expected_text], "message boxes shown: %r" % boxes)
        check(p.running(), "the process waits for the box")
        box = windows_named("Vorl")
        check(box, "a window titled Vorl for the box")
        time.sleep(0.5)
        focus(box[-1])
        run("xdotool", "key", "Return")
        code = p.wait_exit(15)
        check(code == 1, "exit code 1 after the message, got %s" % code)
        check(p.timer_periods() == ["begin 1", "end 1"], "1 ms ticks given back on the fatal exit: %r" % p.timer_periods())
        if loads is not None:
            loads += re.findall(r'trace:loaddll:\S+ Loaded L"([^"]*\\\\d3drm\.dll)"', p.text(), re.I)
        return p.debug_lines()
    finally:
        p.close()


def case_missing_bitmap(args):
    """Without Vorl.bmp in the working directory: its message, exit code 1."""
    work = tempfile.mkdtemp(prefix="vorl-nobmp-")
    try:
        ship(args.bin, work)
        lines = fatal_case(work, "Vorl.exe", None, MISSING_FILE)
        check("phase 4\n" in lines, "the texture is loaded after the viewport")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def case_no_d3drm(args):
    """Ours not beside the program and Wine's disabled: the set-up message,
    exit code 1. Then as on Windows 10, whose System32 holds no d3drm.dll (the
    stand-ins in the Wine prefix's system folders end the search; they are
    moved away for the while): started from a working folder with Vorl.bmp and a planted
    d3drm.dll (tests/dlls' stand-in), the program loads no d3drm.dll at all,
    says the same and ends with 1; the same DLL beside the program is loaded."""
    work = tempfile.mkdtemp(prefix="vorl-nod3drm-")
    stand_ins = [os.path.join(os.environ["WINEPREFIX"], "drive_c", "windows", system, "d3drm.dll")
                 for system in ("system32", "syswow64")]

    def hide(old, new):
        for name in stand_ins:
            if os.path.exists(name + old) and not os.path.exists(name + new):
                os.replace(name + old, name + new)
    hide(".away", "")  # puts back what an interrupted run left away
    try:
        shutil.copy(os.path.join(args.bin, "Vorl.exe"), work)
        shutil.copy(os.path.join(args.bin, "Vorl.bmp"), work)
        lines = fatal_case(work, "Vorl.exe", "mscoree,mshtml=;d3drm=", SETUP_FAILED)
        check("NVX:Norvexa Initialize\n" in lines, "the set-up started")
        check("NVX:CreateDirectDrawWin\n" not in lines, "nothing after the failed binding")

        program = os.path.join(work, "program")
        os.mkdir(program)
        os.replace(os.path.join(work, "Vorl.exe"), os.path.join(program, "Vorl.exe"))
        shutil.copy(os.path.join(args.bin, "binding-dlls", "d3drm-full", "d3drm.dll"), work)
        hide("", ".away")
        loads = []
        fatal_case(work, os.path.join(program, "Vorl.exe"), "mscoree,mshtml=;d3drm=n", SETUP_FAILED, loads)
        check(loads == [], "no d3drm.dll loaded, the working folder's neither: %r" % loads)
        shutil.move(os.path.join(work, "d3drm.dll"), program)
        p = Program(work, os.path.join(program, "Vorl.exe"), "mscoree,mshtml=;d3drm=n")
        try:
            p.wait_for(lambda: p.retained_mode(), 30, "d3drm.dll to be loaded")
            check(re.search(r'Loaded L"[^"]*\\\\program\\\\d3drm\.dll" at \S+: native', p.text(), re.I),
                  "the d3drm.dll beside the program loaded")
        finally:
            p.close()
    finally:
        hide(".away", "")
        shutil.rmtree(work, ignore_errors=True)


def case_wine_retained_mode(args):
    """Wine's own d3drm.dll, a full Retained Mode, in place of ours: snow,
    and Escape ends with exit code 0."""
    p = Program(args.bin, "Vorl.exe", "mscoree,mshtml=;d3drm=b")
    try:
        win = first_frames(p, "builtin")
        time.sleep(2)
        shot = screenshot(win, tempfile.mktemp(suffix=".png"))
        s, flakes = stats(shot), flake_count(shot)
        os.unlink(shot)
        print("  Wine's Retained Mode: bright %.4f black %.3f flakes %d" % (s["bright"], s["black"], flakes))
        check(s["black"] > 0.8 and flakes >= 100, "snow on black")
        focus(win)
        run("xdotool", "key", "Escape")
        check(p.wait_exit(15) == 0, "Escape ends with exit code 0")
    finally:
        p.close()


def wine_reg(*args):
    """Wine's reg.exe on the prefix (its messages are in the locale's code
    page, so they are not read); True when it succeeded."""
    return subprocess.run([WINE_RUN, "reg"] + list(args), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def wine_session(display):
    """Ends the prefix's Wine session and starts a persistent one on the X
    display, as scripts/xserver.sh does: each session's desktop takes its
    screen's size once."""
    subprocess.run(["bash", "-c", 'source "$0"; "$WINESERVER" -k; "$WINESERVER" -w; "$WINESERVER" -p; '
                    '"$WINELOADER" wineboot', os.path.join(ROOT, "scripts", "env.sh")],
                   env=dict(os.environ, DISPLAY=display), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.environ["DISPLAY"] = display


def case_high_dpi(args):
    """LogPixels 144 (150 %): the dialog's window grows with its font, the
    client area about 1.5 times the one at 96 in each direction, snow in all
    four quarters. The shared screen is too small for it: a larger one of its
    own, a Wine session on it, the setting and the shared session put back."""
    # The tests' prefix has no LogPixels of the user's: the setting is removed again.
    key, shared, program = r"HKCU\Control Panel\Desktop", os.environ["DISPLAY"], None
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1600x1200x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    try:
        with os.fdopen(read) as f:
            wine_session(":" + f.readline().strip())
        sizes = {}
        for dpi in (96, 144):
            if dpi != 96:
                wine_reg("add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
            program = Program(args.bin, "Vorl.exe")
            win = first_frames(program)
            time.sleep(2)
            sizes[dpi] = tuple(int(v) for v in re.findall(r"NVX:Viewport width:(\d+) height:(\d+)",
                                                          "".join(program.debug_lines()))[-1])
            x, y, w, h = geometry(win)
            shot = screenshot(win, tempfile.mktemp(suffix=".png"), sizes[dpi])
            quarters = flake_count(shot, quarters=True)
            os.unlink(shot)
            print("  %d DPI: window %dx%d at %d,%d, client %dx%d, flakes by quarter %s"
                  % ((dpi, w, h, x, y) + sizes[dpi] + (quarters,)))
            check(x >= 0 and y >= 0 and x + w <= 1600 and y + h <= 1200, "the whole window on the screen")
            check(len(quarters) == 4 and min(quarters) >= 10, "snow in every quarter of the client area")
            if args.dpi_shot and dpi != 96:  # the whole window, frame and all
                run("import", "-silent", "-window", "root", "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage",
                    args.dpi_shot)
            program.close()
            program = None
        ratio = [sizes[144][i] / sizes[96][i] for i in (0, 1)]
        print("  client area at 144 DPI / 96 DPI: %.3f x %.3f" % tuple(ratio))
        check(all(1.4 <= r <= 1.6 for r in ratio), "about 1.5 times as wide and as high")
    finally:
        if program:
            program.close()
        wine_reg("delete", key, "/v", "LogPixels", "/f")
        wine_session(shared)
        xvfb.terminate()
        xvfb.wait()


def steady_working_set(p):
    """The program's working set in kB once its set-ups have settled: the
    lowest of six samples. A set-up passes through a dip of about a third, so
    the samples start a second after the last change and are taken again if
    a set-up ended among them."""
    for _ in range(3):
        time.sleep(1.0)
        done, samples = phase4_count(p), []
        for _ in range(6):
            time.sleep(0.25)
            samples.append(p.working_set())
        if phase4_count(p) == done:
            break
    return min(samples)


def escape_in_desktop(p, desktop):
    """Escape to the program's window in a Wine virtual desktop, which must
    cover the desktop's middle; it must end the program with exit code 0."""
    for screen in windows_named("%s - Wine desktop" % desktop):
        # A click in the middle of the desktop, inside the window, makes it
        # the active one, whatever an earlier case left active.
        x, y, w, h = geometry(screen)
        focus(screen)
        run("xdotool", "mousemove", "--window", screen, str(w // 2), str(h // 2), "click", "1")
    run("xdotool", "key", "Escape")
    check(p.wait_exit(15) == 0, "Escape ends with exit code 0")


@contextlib.contextmanager
def virtual_desktop(bin_folder, desktop, size, exe, helper):
    """A folder with the program under the name exe, our d3drm.dll, Vorl.bmp
    and the helper program, both programs set to run in a Wine virtual
    desktop of their own of the given size ("WxH"). The program's own name
    keeps the setting to this run. Yields the folder; afterwards the settings
    and the folder go, and a new Wine session starts: the virtual desktop
    leaves its own modes in the session's display settings, and later
    programs could not change the depth."""
    work = tempfile.mkdtemp(prefix="vorl-desktop-")
    shutil.copy(os.path.join(bin_folder, "Vorl.exe"), os.path.join(work, exe))
    for name in ("d3drm.dll", "Vorl.bmp", helper):
        shutil.copy(os.path.join(bin_folder, name), work)
    defaults = [r"HKCU\Software\Wine\AppDefaults\%s" % name for name in (exe, helper)]
    try:
        check(wine_reg("add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", desktop, "/d", size, "/f")
              and all(wine_reg("add", key + r"\Explorer", "/v", "Desktop", "/d", desktop, "/f") for key in defaults),
              "the virtual desktop's settings")
        yield work
    finally:
        for key in defaults:
            wine_reg("delete", key, "/f")
        wine_reg("delete", r"HKCU\Software\Wine\Explorer\Desktops", "/v", desktop, "/f")
        shutil.rmtree(work, ignore_errors=True)
        wine_session(os.environ["DISPLAY"])


def case_display_change(args):
    """A storm of display mode changes under the running program: Wine's
    virtual desktop changes between 800 x 600 and 1024 x 768 twenty times,
    in four batches of five. No message, a set-up after the changes, snow
    afterwards, a working set that does not grow (the lowest of its samples
    after the last batch against the lowest after the second: the first one
    warms up), and Escape ends with exit code 0."""
    desktop, exe = "vorl-display-e2e", "VorlDisplay.exe"
    with virtual_desktop(args.bin, desktop, "800x600", exe, "display_mode.exe") as work:
        p = Program(work, exe)
        try:
            win = wait_window(p)[0]
            p.wait_for(lambda: phase4_count(p) >= 1, 30, "the first set-up")
            first, lowest = phase4_count(p), []
            for batch in range(4):
                setups = phase4_count(p)
                sizes = (["1024", "768", "800", "600"] * 3)[batch % 2 * 2:][:10]
                changer = subprocess.run([WINE_RUN, os.path.join(work, "display_mode.exe")] + sizes, cwd=work,
                                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=60)
                check(changer.returncode == 0, "the display mode changed: %s" % changer.stdout.strip())
                lowest.append(steady_working_set(p))
                p.wait_for(lambda: phase4_count(p) > setups, 20, "a set-up after the display changes")
            print("  20 display changes, %d set-ups; lowest working set after each batch of 5: %s MB"
                  % (phase4_count(p) - first, " ".join("%.1f" % (kb / 1024) for kb in lowest)))
            check(lowest[3] <= lowest[1] * 1.05, "the working set does not grow with the display changes")
            time.sleep(1.5)
            check(p.running(), "running after the display change")
            check(p.message_boxes() == [], "no message: %r" % p.message_boxes())
            shot = screenshot(win, tempfile.mktemp(suffix=".png"))
            s, flakes = stats(shot), flake_count(shot)
            os.unlink(shot)
            print("  after the display change: bright %.4f black %.3f flakes %d" % (s["bright"], s["black"], flakes))
            check(s["black"] > 0.8 and flakes >= 100, "snow after the display change")
            escape_in_desktop(p, desktop)
        finally:
            p.close()


CASES = {"snow": case_snow, "missing_bitmap": case_missing_bitmap, "no_d3drm": case_no_d3drm,
         "wine_retained_mode": case_wine_retained_mode, "idle_background": case_idle_background,
         "english_windows": case_english_windows, "high_dpi": case_high_dpi, "display_change": case_display_change}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin")
    parser.add_argument("--shot")
    parser.add_argument("--dpi-shot", help="where high_dpi keeps its picture at 144 DPI")
    parser.add_argument("cases", nargs="*")
    args = parser.parse_intermixed_args()
    if not os.environ.get("DISPLAY"):
        print("snow_e2e: no X display ($DISPLAY); run through scripts/test.sh")
        return 1
    failed = 0
    for name in args.cases or list(CASES):
        start = time.time()
        try:
            CASES[name](args)
            print("PASS %s (%.1f s)" % (name, time.time() - start))
        except Failure as e:
            failed += 1
            print("FAIL %s: %s" % (name, e))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
