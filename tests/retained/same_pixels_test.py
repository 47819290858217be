#!/usr/bin/env python3
"""Same pixels: frame_digest.exe (the program's own window drawing its first
frames on Wine's DirectDraw and Direct3D) run twice in the working directory,
with Wine's d3drm.dll (d3drm=b) and with ours from the program's folder
(d3drm=n). Both back buffers must have the same digest, each run must have
loaded the d3drm.dll it was told to, and the picture must show snow.

    same_pixels_test.py <wine-run.sh> <frame_digest.exe> [--frames N] [--client W H]

Needs an X display ($DISPLAY) and preferably a persistent wineserver
(scripts/test.sh provides both).
"""
import argparse
import ntpath
import os
import subprocess
import sys
import time

# Below this share of lit pixels the picture is taken as empty: the third
# 320 x 240 frame of the default camera has about 970 (1.3 %), a frame whose
# squares were not drawn, or drawn black, none.
MIN_LIT_SHARE = 0.005


class Failure(Exception):
    """A run that gave no result."""


def base_overrides():
    """The environment's DLL overrides without any d3drm entry, keeping
    mscoree,mshtml= (without it Wine offers to install those)."""
    entries = [e for e in os.environ.get("WINEDLLOVERRIDES", "mscoree,mshtml=").split(";") if e]
    kept = [e for e in entries if e.split("=")[0].strip().lower() != "d3drm"]
    if not any("mscoree" in e.split("=")[0] for e in kept):
        kept.insert(0, "mscoree,mshtml=")
    return ";".join(kept)


def run(wine_run, exe, mode, extra):
    env = dict(os.environ)
    env["WINEDLLOVERRIDES"] = base_overrides() + ";d3drm=" + mode
    start = time.monotonic()
    try:
        result = subprocess.run([wine_run, exe] + extra, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                text=True, errors="replace", timeout=120)
    except subprocess.TimeoutExpired:
        raise Failure("d3drm=%s: no result within 120 s" % mode)
    seconds = time.monotonic() - start
    if result.returncode != 0:
        raise Failure("d3drm=%s: exit code %d\nstdout:\n%s\nstderr:\n%s"
                      % (mode, result.returncode, result.stdout, result.stderr))
    fields = {}
    for line in result.stdout.splitlines():
        key, _, value = line.strip().partition(" ")
        fields[key] = value
    for key in ("exe", "d3drm", "d3drm_ours", "client", "digest", "lit"):
        if key not in fields:
            raise Failure("d3drm=%s: no %s line in\n%s\nstderr:\n%s" % (mode, key, result.stdout, result.stderr))
    print("d3drm=%s: %.1f s, module %s (ours: %s), client %s, digest %s, lit %s"
          % (mode, seconds, fields["d3drm"], fields["d3drm_ours"], fields["client"], fields["digest"],
             fields["lit"]))
    return fields


def folder(path):
    return ntpath.dirname(path).lower()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("wine_run")
    parser.add_argument("exe")
    parser.add_argument("--frames", type=int)
    parser.add_argument("--client", type=int, nargs=2)
    args = parser.parse_args()
    extra = []
    if args.frames:
        extra += ["--frames", str(args.frames)]
    if args.client:
        extra += ["--client", str(args.client[0]), str(args.client[1])]

    try:
        wine = run(args.wine_run, args.exe, "b", extra)
        ours = run(args.wine_run, args.exe, "n", extra)
    except Failure as failure:
        print("FAIL: %s" % failure)
        return 1

    failures = []
    # Wine names its builtin d3drm.dll by the path of the file it found
    # beside the program, so its exports tell which one runs, not the
    # module's path.
    if folder(ours["d3drm"]) != folder(ours["exe"]) or ours["d3drm_ours"] != "1":
        failures.append("d3drm=n did not load the d3drm.dll beside %s (module %s, ours: %s)"
                        % (ours["exe"], ours["d3drm"], ours["d3drm_ours"]))
    if wine["d3drm"] == "none" or wine["d3drm_ours"] != "0":
        failures.append("d3drm=b did not load Wine's own d3drm.dll (module %s, ours: %s)"
                        % (wine["d3drm"], wine["d3drm_ours"]))

    if wine["client"] != ours["client"]:
        failures.append("different back buffers: %s and %s" % (wine["client"], ours["client"]))
    elif wine["digest"] != ours["digest"]:
        failures.append("the frames differ: digest %s (%s lit) with Wine's Retained Mode, %s (%s lit) with ours"
                        % (wine["digest"], wine["lit"], ours["digest"], ours["lit"]))
    width, height = (int(v) for v in ours["client"].split()[:2])
    for name, fields in (("Wine's", wine), ("our", ours)):
        if int(fields["lit"]) < MIN_LIT_SHARE * width * height:
            failures.append("with %s Retained Mode only %s of %d pixels are lit" % (name, fields["lit"], width * height))

    for failure in failures:
        print("FAIL: %s" % failure)
    if failures:
        return 1
    print("same pixels with both Retained Modes")
    return 0

if __name__ == "__main__":
    sys.exit(main())
