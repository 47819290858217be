#!/usr/bin/env python3
"""Tables (Markdown) from the whole-frame benchmark's result folder, and
optionally a PNG plot of the frame-time distributions of program and floor
(needs matplotlib: Debian's python3-matplotlib).

    summarize.py RESULT_DIR [--png FILE]
"""
import argparse
import glob
import os
import statistics
import sys


def read_frames(path):
    client, times, visible, render, scene, keys = None, [], [], [], [], []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts[0] == "client":
                client = (int(parts[1]), int(parts[2]))
            elif parts[0] == "frame":
                visible.append(int(parts[2]))
                times.append(float(parts[3]))
                render.append(float(parts[4]) if len(parts) > 4 else float(parts[3]))
                scene.append(float(parts[5]) if len(parts) > 5 else 0.0)
                keys.append(float(parts[6]) if len(parts) > 6 else 0.0)
    return client, times, visible, render, scene, keys


def percentile(values, p):
    """The p-th percentile (p a whole number from 1 to 99), interpolated
    between the two nearest of the sorted values."""
    return statistics.quantiles(values, n=100, method="inclusive")[p - 1]


def runs(folder, name):
    files = sorted(glob.glob(os.path.join(folder, name + "_*.txt")),
                   key=lambda p: int(p.rsplit("_", 1)[1].split(".")[0]))
    return [read_frames(p) for p in files]


def read_pairs(path):
    client, program, floor, same = None, [], [], True
    with open(path) as f:
        for line in f:
            parts = line.split()
            if parts[0] == "client":
                client = (int(parts[1]), int(parts[2]))
            elif parts[0] == "pair":
                same = same and parts[2] == parts[3]
                program.append(float(parts[4]))
                floor.append(float(parts[5]))
    return client, program, floor, same


def pair_runs(folder, kind):
    files = sorted(glob.glob(os.path.join(folder, "pairs_%s_*.txt" % kind)),
                   key=lambda p: int(p.rsplit("_", 1)[1].split(".")[0]))
    return [read_pairs(p) for p in files]


def interleaved_section(folder):
    """Tables of the interleaved runs; gives the start size's pooled times for the plot."""
    plotted = None
    sections = [(kind, pair_runs(folder, kind)) for kind in ("start", "large")]
    if not any(r for _, r in sections):
        return None
    print("## Interleaved in one process: program and floor frames in turn\n")
    print("| run | client | pairs | Vorl median ms | floor median ms | ratio of medians | median of the "
          "pairs' ratios | same squares |")
    print("|---|---|---|---|---|---|---|---|")
    for kind, pruns in sections:
        if not pruns:
            continue
        for i, (client, program, floor, same) in enumerate(pruns, 1):
            pair_ratio = statistics.median(p / f for p, f in zip(program, floor))
            print("| %s size, run %d | %d x %d | %d | %.3f | %.3f | %.3f | %.3f | %s |" % (
                kind, i, client[0], client[1], len(program), statistics.median(program),
                statistics.median(floor), statistics.median(program) / statistics.median(floor), pair_ratio,
                "yes" if same else "NO"))
        program = [t for r in pruns for t in r[1]]
        floor = [t for r in pruns for t in r[2]]
        pair_ratio = statistics.median(p / f for r in pruns for p, f in zip(r[1], r[2]))
        client = pruns[0][0]
        print("| **%s size, all runs** | %d x %d | %d | %.3f | %.3f | **%.3f** | **%.3f** | %s |" % (
            kind, client[0], client[1], len(program), statistics.median(program), statistics.median(floor),
            statistics.median(program) / statistics.median(floor), pair_ratio,
            "yes" if all(r[3] for r in pruns) else "NO"))
        if kind == "start":
            plotted = (program, floor, client)
    print()
    return plotted


def row(label, times):
    return "| %s | %d | %.2f | %.2f | %.2f | %.2f | %.2f |" % (
        label, len(times), statistics.median(times), percentile(times, 10),
        percentile(times, 90), statistics.mean(times), max(times))


def png_plot(path, program, floor, title):
    """Empirical distribution (share of frames at or below a time) of both."""
    try:
        import matplotlib
    except ImportError:
        sys.exit("summarize: the plot needs matplotlib (Debian: python3-matplotlib)")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    from matplotlib.ticker import PercentFormatter

    lo = min(min(program), min(floor))
    hi = max(percentile(program, 99), percentile(floor, 99))
    span = hi - lo or 1.0
    lo -= span * 0.05
    hi += span * 0.05

    fig, ax = plt.subplots(figsize=(7.2, 4.2), dpi=100)
    for values, colour, name in ((floor, "#1f77b4", "floor"), (program, "#d62728", "Vorl")):
        s = sorted(values)
        n = len(s)
        med = statistics.median(values)
        ax.step([s[0]] + s + [hi], [0.0] + [(i + 1) / n for i in range(n)] + [1.0], where="post", color=colour,
                linewidth=2, label="%s: %d frames, median %.2f ms (dashed)" % (name, n, med))
        ax.axvline(med, color=colour, linestyle="--", linewidth=1)
    ax.set_xlim(lo, hi)
    ax.set_ylim(0.0, 1.0)
    ax.yaxis.set_major_formatter(PercentFormatter(1.0, decimals=0))
    ax.grid(color="#ddd")
    ax.set_title(title, fontsize=11, loc="left")
    ax.set_xlabel("milliseconds per frame (axis cut at the 99th percentile)")
    ax.set_ylabel("share of frames at or below")
    handles, labels = ax.get_legend_handles_labels()
    ax.legend(handles[::-1], labels[::-1], loc="lower right")
    fig.tight_layout()
    fig.savefig(path)
    plt.close(fig)


def separate_section(program_runs, floor_runs):
    """Tables of the separate runs; gives the pooled times."""
    same = all(p[0] == f[0] and p[2] == f[2] for p, f in zip(program_runs, floor_runs))
    client = program_runs[0][0]
    program = [t for r in program_runs for t in r[1]]
    floor = [t for r in floor_runs for t in r[1]]
    visible = [v for r in program_runs for v in r[2]]

    print("## Separate programs in turn under Wine and Xvfb\n")
    print("Client area %d x %d, %d to %d visible flakes per frame (mean %.0f); program and floor drew the "
          "same squares frame for frame: %s.\n" % (client[0], client[1], min(visible), max(visible),
                                                    statistics.mean(visible), "yes" if same else "NO"))
    print("| run | frames | median ms | p10 ms | p90 ms | mean ms | max ms |")
    print("|---|---|---|---|---|---|---|")
    for i, (p, f) in enumerate(zip(program_runs, floor_runs), 1):
        print(row("Vorl, round %d" % i, p[1]))
        print(row("floor, round %d" % i, f[1]))
    print(row("**Vorl, all rounds**", program))
    print(row("**floor, all rounds**", floor))
    print(row("Vorl, its RenderFrame alone", [t for r in program_runs for t in r[3]]))
    before = [t - d for r in program_runs for t, d in zip(r[1], r[3])]
    keys = [k for r in program_runs for k in r[5]]
    print(row("Vorl, keys, rotation and flakes before RenderFrame", before))
    print(row("Vorl, of which the six key reads", keys))
    ratio = statistics.median(program) / statistics.median(floor)
    round_ratios = [statistics.median(p[1]) / statistics.median(f[1]) for p, f in zip(program_runs, floor_runs)]
    print(row("Vorl, the quick test's walk and the full tests, as a pass of their own (timed apart)",
              [t for r in program_runs for t in r[4]]))
    print("\nRatio of the medians, Vorl / floor: **%.3f** (goal: at most 1.05; per round: %s; median of the "
          "rounds' ratios %.3f).\n" % (ratio, ", ".join("%.3f" % r for r in round_ratios),
                                       statistics.median(round_ratios)))
    floor_median = statistics.median(floor)
    print("Before RenderFrame, the program's own work over the whole field (keys, rotation, the advance with "
          "the quick test): %.3f ms median, %.1f%% of the floor's median frame; of it the six key reads: "
          "%.3f ms, %.1f%%.\n" % (statistics.median(before), 100.0 * statistics.median(before) / floor_median,
                                  statistics.median(keys), 100.0 * statistics.median(keys) / floor_median))
    return program, floor


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--png")
    args = parser.parse_args()

    program_runs, floor_runs = runs(args.folder, "vorl"), runs(args.folder, "floor")
    if len(program_runs) != len(floor_runs):
        sys.exit("summarize: the result folder lacks matching program and floor runs")
    program, floor = [], []
    if program_runs:
        program, floor = separate_section(program_runs, floor_runs)

    plotted = interleaved_section(args.folder)

    for file_name, title in (("memory.txt", "Vorl"), ("memory_floor.txt", "floor")):
        memory_path = os.path.join(args.folder, file_name)
        if not os.path.exists(memory_path):
            continue
        print("## Memory under Wine, %s (1,000 frames, 50 resizes)\n" % title)
        print("| point | peak working set KiB | working set KiB | page-file use KiB |")
        print("|---|---|---|---|")
        figures = []
        with open(memory_path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 8 and parts[0] == "memory":
                    figures.append((parts[1], int(parts[3]), int(parts[5]), int(parts[7])))
                    print("| %s | %s | %s | %s |" % (parts[1], parts[3], parts[5], parts[7]))
        if len(figures) >= 6:
            ref, mid, last = figures[2], figures[-3], figures[-1]
            print("\nSecond resize's set-up to frame 600 (resizes 3 to 30): peak working set %+d KiB, working set "
                  "%+d KiB. Frame 600 to frame 1,000 (resizes 31 to 50): peak working set %+d KiB, working set "
                  "%+d KiB.\n" % (mid[1] - ref[1], mid[2] - ref[2], last[1] - mid[1], last[2] - mid[2]))

    if args.png:
        if plotted:
            png_plot(args.png, plotted[0], plotted[1],
                     "Frame time under Wine and Xvfb, %d x %d, program and floor frames in turn"
                     % plotted[2])
        elif program:
            png_plot(args.png, program, floor, "Frame time under Wine and Xvfb: program against floor")


if __name__ == "__main__":
    main()
