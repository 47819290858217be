#!/usr/bin/env python3
"""The real Vorl.exe under Wine, handled roughly in one run: all six camera
keys held together, a burst of 30 resizes, minimise and restore, the About box
opened and closed while the snow falls. After each the program must still be
running and drawing, with no message shown; Escape then ends it with exit
code 0.

    abuse_e2e.py <bin folder>

Needs what snow_e2e.py needs: xdotool, ImageMagick, $DISPLAY.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from snow_e2e import (WINE_RUN, Failure, Program, check, first_frames, focus, geometry, open_about,  # noqa: E402
                      phase4_count, run, screenshot, stats, system_command, windows_named)

CAMERA_KEYS = ["Left", "Right", "Up", "Down", "Prior", "Next"]
RESIZE = "NVX:Resize Window\n"


def about_boxes():
    """Windows whose title is the About box's ("Vorl" and more)."""
    out = run("xdotool", "search", "--name", "^Vorl.+", check_rc=False)
    return out.split()


def still_fine(p, win, shot, what):
    """Running, no message box, and the window shows the black scene."""
    check(p.running(), "running after %s" % what)
    check(not p.message_boxes(), "no message after %s: %r" % (what, p.message_boxes()))
    end = time.time() + 10
    while True:
        s = stats(screenshot(win, shot))
        if s["black"] > 0.5 or time.time() > end:
            break
        time.sleep(0.3)
    check(s["black"] > 0.5, "the scene is drawn after %s (black share %.3f)" % (what, s["black"]))
    return s


def all_keys_held(p, win, shot):
    focus(win)
    run("xdotool", "keydown", *CAMERA_KEYS)
    try:
        time.sleep(3.0)
        check(p.running(), "running with all six keys down")
    finally:
        run("xdotool", "keyup", *CAMERA_KEYS)
    time.sleep(0.5)
    s = still_fine(p, win, shot, "all six keys held")
    print("  six keys: 3 s held, bright %.4f" % s["bright"])


def resize_burst(p, win, shot, bin_folder):
    # The window has no window manager around it under Xvfb, so sizes set
    # from the X side never reach it; another Windows program sizes it
    # through the system instead, as a fast drag of the border would.
    resizes, setups = p.count(RESIZE), phase4_count(p)
    helper = subprocess.run([WINE_RUN, os.path.join(bin_folder, "resize_burst.exe"), "30"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, timeout=60)
    check(helper.returncode == 0, "the burst of resizes: %s" % helper.stdout.strip())
    p.wait_for(lambda: p.count(RESIZE) > resizes, 15, "the resize lines")
    # The burst settles: the last size change gets a set-up of its own.
    p.wait_for(lambda: phase4_count(p) > setups, 30, "a set-up after the burst")
    time.sleep(1.5)
    last = p.count(RESIZE)
    time.sleep(1.0)
    check(p.count(RESIZE) == last, "no further resizing once the burst is over")
    s = still_fine(p, win, shot, "30 resizes")
    print("  resize burst: %d resize lines, %d set-ups, size now %s, bright %.4f"
          % (p.count(RESIZE) - resizes, phase4_count(p) - setups, geometry(win)[2:], s["bright"]))
    check(s["bright"] > 0.0005, "snow after the resizes")


def minimise_restore(p, win, shot):
    before = geometry(win)
    resizes = p.count(RESIZE)
    run("xdotool", "windowminimize", "--sync", win, check_rc=False)
    time.sleep(1.0)
    minimised = geometry(win)
    if minimised[3] >= before[3] // 2:
        # Without a window manager the X request is not acted on; the system
        # menu's Minimise command does the same through the window itself.
        system_command(win, "n")
        minimised = geometry(win)
    check(minimised[3] < before[3] // 2, "the window is minimised: %s" % (minimised,))
    time.sleep(1.0)
    check(p.running(), "running while minimised")
    check(p.count(RESIZE) == resizes, "minimising rebuilds nothing")
    run("xdotool", "windowactivate", win, check_rc=False)
    run("xdotool", "windowmap", win, check_rc=False)
    time.sleep(1.0)
    if geometry(win)[2:] != before[2:]:
        system_command(win, "r")
    check(geometry(win)[2:] == before[2:], "the window is restored: %s" % (geometry(win),))
    focus(win)
    s = still_fine(p, win, shot, "minimise and restore")
    check(s["bright"] > 0.0005, "snow after restoring")
    print("  minimise and restore: %s -> %s -> %s" % (before[2:], minimised[2:], geometry(win)[2:]))


def about_box(p, win, shot, close_key):
    check(not about_boxes(), "no About box before opening it")
    box = open_about(win)
    check(p.running(), "running with the About box open")
    focus(box)
    time.sleep(0.3)
    run("xdotool", "key", close_key)
    end = time.time() + 10
    while about_boxes() and time.time() < end:
        time.sleep(0.2)
    check(not about_boxes(), "%s closes the About box" % close_key)
    check(windows_named("Vorl") == [win], "the main window stays")
    focus(win)
    still_fine(p, win, shot, "the About box closed with %s" % close_key)
    print("  about box: opened, closed with %s" % close_key)


def main():
    if not os.environ.get("DISPLAY"):
        print("abuse_e2e: no X display ($DISPLAY); run through scripts/test.sh")
        return 1
    bin_folder = sys.argv[1]
    p = Program(bin_folder, "Vorl.exe")
    shot = tempfile.mktemp(prefix="vorl-abuse-", suffix=".png")
    start = time.time()
    try:
        win = first_frames(p)
        still_fine(p, win, shot, "the start")
        all_keys_held(p, win, shot)
        resize_burst(p, win, shot, bin_folder)
        minimise_restore(p, win, shot)
        about_box(p, win, shot, "Escape")
        about_box(p, win, shot, "Return")
        all_keys_held(p, win, shot)
        focus(win)
        run("xdotool", "key", "Escape")
        code = p.wait_exit(15)
        check(code == 0, "Escape ends with exit code 0, got %s" % code)
        check(not p.message_boxes(), "no message at any time: %r" % p.message_boxes())
        print("PASS abuse (%.1f s)" % (time.time() - start))
        return 0
    except Failure as e:
        print("FAIL abuse: %s" % e)
        return 1
    finally:
        p.close()
        if os.path.exists(shot):
            os.unlink(shot)


if __name__ == "__main__":
    sys.exit(main())
