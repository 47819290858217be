#!/usr/bin/env python3
"""The real Vorl.exe under Wine with unusual or broken files as "Vorl.bmp" in
its working directory. Every case either draws (the window runs its frames and
Escape ends it with exit code 0) or shows the missing-file message and ends
with exit code 1 once the box is dismissed; none crashes or hangs.

    bad_bitmaps_e2e.py <bin folder> [cases...]

Each case gets a working directory of its own with a copy of Vorl.exe and the
file made here. Needs what snow_e2e.py needs: xdotool, ImageMagick, $DISPLAY.
"""
import os
import shutil
import struct
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from snow_e2e import (MISSING_FILE, Failure, Program, check, focus, phase4_count, run,  # noqa: E402
                      screenshot, ship, stats, wait_window, windows_named)

DRAWS, MESSAGE = "draws", "message"


def pixel_on(x, y):
    """The test picture: a diagonal lattice of lit pixels, two in three lit,
    so row padding and bit order mistakes show up as crashes or garbage
    rather than passing unnoticed on a flat colour."""
    return (x + y) % 3 != 2


def bitmap(width, height, bits, top_down=False, header=40):
    """A Windows bitmap file (BITMAPFILEHEADER, BITMAPINFOHEADER, colour table
    for 8 bits and fewer, rows padded to 4 bytes), bottom-up unless asked.
    A header of 108 or 124 bytes (BITMAPV4HEADER, BITMAPV5HEADER) gives a
    32-bit picture BI_BITFIELDS with its masks inside the header, sRGB."""
    colours = 1 << bits if bits <= 8 else 0
    table = b""
    for i in range(colours):
        level = 0 if i == 0 else 255 if i == 1 else (i * 37) & 0xFF
        table += struct.pack("<BBBB", level, level, level, 0)
    stride = ((width * bits + 31) // 32) * 4

    def row(y):
        if bits == 24:
            on, off = b"\xff\xff\xff", b"\x00\x00\x00"
            data = b"".join(on if pixel_on(x, y) else off for x in range(width))
        elif bits == 32:
            on, off = b"\xff\xff\xff\x00", b"\x00\x00\x00\x00"
            data = b"".join(on if pixel_on(x, y) else off for x in range(width))
        elif bits == 16:  # 5-5-5
            on, off = struct.pack("<H", 0x7FFF), b"\x00\x00"
            data = b"".join(on if pixel_on(x, y) else off for x in range(width))
        else:
            value = 0
            per_byte = 8 // bits
            out = bytearray()
            for x in range(width):
                value = (value << bits) | (1 if pixel_on(x, y) else 0)
                if x % per_byte == per_byte - 1:
                    out.append(value)
                    value = 0
            if width % per_byte:
                out.append(value << (bits * (per_byte - width % per_byte)))
            data = bytes(out)
        return data + b"\x00" * (stride - len(data))

    # The lattice repeats every three rows: build three and reuse them, so
    # that 4096 x 4096 stays quick.
    rows = [row(y) for y in range(min(height, 3))]
    order = range(height) if top_down else range(height - 1, -1, -1)
    pixels = b"".join(rows[y % 3] for y in order)
    info = struct.pack("<IiiHHIIiiII", header, width, -height if top_down else height, 1, bits,
                       0 if header == 40 else 3, len(pixels), 2835, 2835, colours, 0)
    if header > 40:
        # Red, green, blue and alpha masks, colour space, end points, gammas;
        # V5 adds the intent and an empty profile.
        info += struct.pack("<4I4s36x12x", 0xFF0000, 0xFF00, 0xFF, 0, b"BGRs")
        info += struct.pack("<4I", 4, 0, 0, 0) if header == 124 else b""
    check(len(info) == header, "a header of %d bytes" % header)
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + pixels


def make_file(data):
    return lambda path: open(path, "wb").write(data)


def make_folder(path):
    os.mkdir(path)
    # Something inside, so the folder is not mistaken for an empty file.
    open(os.path.join(path, "inside.bmp"), "wb").write(bitmap(8, 8, 24))


def truncated(data, keep):
    return data[:keep]


GOOD_24 = bitmap(64, 64, 24)
GOOD_32_1X1 = bitmap(1, 1, 32)

# name: (how the file is made, the outcome it must have). Every picture that
# draws has lit pixels, and the flakes must show them.
CASES = {
    "bits_1": (make_file(bitmap(32, 32, 1)), DRAWS),
    "bits_4": (make_file(bitmap(32, 32, 4)), DRAWS),
    "bits_8": (make_file(bitmap(32, 32, 8)), DRAWS),
    "bits_16": (make_file(bitmap(32, 32, 16)), DRAWS),
    "bits_24": (make_file(bitmap(32, 32, 24)), DRAWS),
    "bits_32": (make_file(bitmap(32, 32, 32)), DRAWS),
    "one_pixel": (make_file(bitmap(1, 1, 24)), DRAWS),
    # Masks inside the header, and fewer pixel bytes (4) than three masks.
    "v4_one_pixel_bitfields": (make_file(bitmap(1, 1, 32, header=108)), DRAWS),
    "v5_one_pixel_bitfields": (make_file(bitmap(1, 1, 32, header=124)), DRAWS),
    # A 40-byte header with BI_BITFIELDS: the file ends before its three masks.
    "bitfields_without_masks": (make_file(GOOD_32_1X1[:30] + struct.pack("<I", 3) + GOOD_32_1X1[34:]), MESSAGE),
    "odd_37x23_bits_24": (make_file(bitmap(37, 23, 24)), DRAWS),
    "odd_37x23_bits_4": (make_file(bitmap(37, 23, 4)), DRAWS),
    # Wine's loader accepts rows stored top first but hands back an all-black
    # picture: the flakes are drawn, dark. Only the outcome is checked.
    "top_down_37x23": (make_file(bitmap(37, 23, 24, top_down=True)), DRAWS, False),
    "huge_4096": (make_file(bitmap(4096, 4096, 24)), DRAWS),
    "truncated_pixels": (make_file(truncated(GOOD_24, len(GOOD_24) // 2)), MESSAGE),
    "truncated_header": (make_file(truncated(GOOD_24, 30)), MESSAGE),
    # Headers that promise a picture of 2^31 - 1 squared pixels in a small file.
    "huge_dimensions": (make_file(struct.pack("<2sIHHI", b"BM", 70, 0, 0, 54)
                                  + struct.pack("<IiiHHIIiiII", 40, 0x7FFFFFFF, 0x7FFFFFFF, 1, 32, 0, 0,
                                                2835, 2835, 0, 0) + b"\xff" * 16), MESSAGE),
    "empty": (make_file(b""), MESSAGE),
    "not_a_bitmap": (make_file(b"This is not a picture.\r\n" * 40), MESSAGE),
    "folder": (make_folder, MESSAGE),
}

SETTLE = 2.5  # seconds the program must run on after the set-up to count as drawing


def outcome_of(program, win):
    """Waits past the texture's load: the missing-file box, or frames."""
    program.wait_for(lambda: phase4_count(program) >= 1 or program.message_boxes(), 30, "the set-up")
    end = time.time() + SETTLE
    while time.time() < end:
        if program.message_boxes():
            return MESSAGE
        check(program.running(), "ended (code %s) without a message" % program.proc.returncode)
        time.sleep(0.1)
    return MESSAGE if program.message_boxes() else DRAWS


def run_case(bin_folder, name, make, expected, lit=True):
    work = tempfile.mkdtemp(prefix="vorl-badbmp-")
    p = None
    try:
        ship(bin_folder, work)
        make(os.path.join(work, "Vorl.bmp"))
        p = Program(work, "Vorl.exe")
        win = wait_window(p)[0]
        got = outcome_of(p, win)
        check(p.retained_mode() == "native", "our d3drm.dll was loaded: %s" % p.retained_mode())
        check(got == expected, "expected %s, got %s" % (expected, got))
        lines = p.debug_lines()
        check(phase4_count(p) == 1, "one set-up before the texture, saw %d" % phase4_count(p))
        if got == MESSAGE:
            boxes = p.message_boxes()
            check(boxes == [MISSING_FILE], "message boxes shown: %r" % boxes)
            check(p.running(), "the process waits for the box")
            box = windows_named("Vorl")
            check(box, "a window titled Vorl for the box")
            time.sleep(0.3)
            focus(box[-1])
            run("xdotool", "key", "Return")
            code = p.wait_exit(15)
            check(code == 1, "exit code 1 after the message, got %s" % code)
            detail = ""
        else:
            # Frames go on: the picture is drawn and the window still answers.
            focus(win)
            # A large texture takes its time to load and upload; the first
            # frame clears the window to black.
            shot = tempfile.mktemp(suffix=".png", dir=work)
            end = time.time() + 30
            while True:
                s = stats(screenshot(win, shot))
                if s["black"] > 0.5 or time.time() > end:
                    break
                check(p.running(), "ended (code %s) while loading" % p.proc.returncode)
                time.sleep(0.5)
            check(s["black"] > 0.5, "a mostly black background, black share %.3f" % s["black"])
            check(p.running(), "still running after the look")
            material = "vusk: Failed to CreateMaterial\n" not in lines
            detail = " (bright %.4f, texture material %s)" % (s["bright"], "made" if material else "failed")
            check(material, "the texture's material was made")
            check(not lit or s["bright"] > 0.0005, "lit flakes from the texture, bright share %.4f" % s["bright"])
            focus(win)
            run("xdotool", "key", "Escape")
            code = p.wait_exit(15)
            check(code == 0, "Escape ends with exit code 0, got %s" % code)
            check(not p.message_boxes(), "no message after Escape: %r" % p.message_boxes())
        return got, detail
    finally:
        if p:
            p.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    if not os.environ.get("DISPLAY"):
        print("bad_bitmaps_e2e: no X display ($DISPLAY); run through scripts/test.sh")
        return 1
    bin_folder = sys.argv[1]
    names = sys.argv[2:] or list(CASES)
    failed = 0
    for name in names:
        start = time.time()
        try:
            got, detail = run_case(bin_folder, name, *CASES[name])
            print("PASS %-20s %-7s%s (%.1f s)" % (name, got, detail, time.time() - start))
        except Failure as e:
            failed += 1
            print("FAIL %-20s %s" % (name, e))
        sys.stdout.flush()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
