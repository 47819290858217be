#!/usr/bin/env python3
"""Tables (Markdown) from the whole-frame benchmark's result folder, and
optionally a PNG plot of the frame-time distributions of program and floor
(needs matplotlib: Debian's python3-matplotlib).

    summarize.py RESULT_DIR [--png FILE]

Every timed run is in the folder twice, with our Retained Mode ("ours") and
with Wine's builtin one ("wine"): vorl_<rm>_<round>.txt, floor_<rm>_<round>.txt,
pairs_<start|large>_<rm>_<run>.txt. Ratios against the floor take the floor
with ours, the Retained Mode the program ships with.
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


# The Retained Modes by the name the result files carry, and as the tables name them.
RETAINED_MODES = (("ours", "ours"), ("wine", "Wine's"))


def numbered(folder, prefix):
    """The files PREFIX_<n>.txt, in the order of n."""
    files = glob.glob(os.path.join(folder, prefix + "_*.txt"))
    files = [p for p in files if p.rsplit("_", 1)[1].split(".")[0].isdigit()]
    return sorted(files, key=lambda p: int(p.rsplit("_", 1)[1].split(".")[0]))


def runs(folder, name):
    return [read_frames(p) for p in numbered(folder, name)]


def spread(values):
    """Median, smallest and largest of a list of ratios, as "1.000 (0.950 to 1.050)"."""
    return "%.3f (%.3f to %.3f)" % (statistics.median(values), min(values), max(values))


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


def pair_runs(folder, kind, rm):
    return [read_pairs(p) for p in numbered(folder, "pairs_%s_%s" % (kind, rm))]


def interleaved_section(folder):
    """Tables of the interleaved runs, each size with both Retained Modes. Gives,
    by (size, Retained Mode), the pooled program and floor times, the client
    area, the pooled figures and the runs' program medians."""
    pooled = {}
    sections = [(kind, rm, label, pair_runs(folder, kind, rm))
                for kind in ("start", "large") for rm, label in RETAINED_MODES]
    if not any(r for _, _, _, r in sections):
        return pooled
    print("## Interleaved in one process: program and floor frames in turn\n")
    print("Program and floor frames alternate in one process, on one device; each run is made with our "
          "Retained Mode and with Wine's, in turn. The floor frames go through the same Retained Mode as "
          "the program's.\n")
    print("| run | Retained Mode | client | pairs | Vorl median ms | floor median ms | ratio of medians | "
          "median of the pairs' ratios | same squares |")
    print("|---|---|---|---|---|---|---|---|---|")
    for kind, rm, label, pruns in sections:
        if not pruns:
            continue
        for i, (client, program, floor, same) in enumerate(pruns, 1):
            pair_ratio = statistics.median(p / f for p, f in zip(program, floor))
            print("| %s size, run %d | %s | %d x %d | %d | %.3f | %.3f | %.3f | %.3f | %s |" % (
                kind, i, label, client[0], client[1], len(program), statistics.median(program),
                statistics.median(floor), statistics.median(program) / statistics.median(floor), pair_ratio,
                "yes" if same else "NO"))
        program = [t for r in pruns for t in r[1]]
        floor = [t for r in pruns for t in r[2]]
        pair_ratio = statistics.median(p / f for r in pruns for p, f in zip(r[1], r[2]))
        medians_ratio = statistics.median(program) / statistics.median(floor)
        client = pruns[0][0]
        print("| **%s size, all runs** | %s | %d x %d | %d | %.3f | %.3f | **%.3f** | **%.3f** | %s |" % (
            kind, label, client[0], client[1], len(program), statistics.median(program), statistics.median(floor),
            medians_ratio, pair_ratio, "yes" if all(r[3] for r in pruns) else "NO"))
        pooled[(kind, rm)] = {
            "program": program, "floor": floor, "client": client, "medians_ratio": medians_ratio,
            "pair_ratio": pair_ratio, "run_program_medians": [statistics.median(r[1]) for r in pruns],
            "run_floor_medians": [statistics.median(r[2]) for r in pruns]}
    print()
    for kind in ("start", "large"):
        ours, wine = pooled.get((kind, "ours")), pooled.get((kind, "wine"))
        if not ours or not wine:
            continue
        runs_ratios = [o / w for o, w in zip(ours["run_program_medians"], wine["run_program_medians"])]
        floor_ratios = [o / w for o, w in zip(ours["run_floor_medians"], wine["run_floor_medians"])]
        print("%s size, %d x %d: Vorl's frame with ours against Wine's, median of the runs' ratios %s; the "
              "floor's frame %s.\n" % (kind.capitalize(), ours["client"][0], ours["client"][1],
                                       spread(runs_ratios), spread(floor_ratios)))
        ours["runs_ratios"] = runs_ratios
    return pooled


def row(label, times):
    return "| %s | %d | %.2f | %.2f | %.2f | %.2f | %.2f |" % (
        label, len(times), statistics.median(times), percentile(times, 10),
        percentile(times, 90), statistics.mean(times), max(times))


def png_plot(path, series, title):
    """Empirical distribution (share of frames at or below a time) of each of
    the series: (times, colour, name), drawn in this order."""
    try:
        import matplotlib
    except ImportError:
        sys.exit("summarize: the plot needs matplotlib (Debian: python3-matplotlib)")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    from matplotlib.ticker import PercentFormatter

    lo = min(min(values) for values, _, _ in series)
    hi = max(percentile(values, 99) for values, _, _ in series)
    span = hi - lo or 1.0
    lo -= span * 0.05
    hi += span * 0.05

    fig, ax = plt.subplots(figsize=(7.2, 4.2), dpi=100)
    for values, colour, name in series:
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

    print("## Separate programs in turn under Wine and Xvfb, our Retained Mode\n")
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


def retained_section(folder):
    """Vorl and the floor with our Retained Mode against Wine's builtin one,
    separate programs in turn; gives the rounds' ratios, ours / Wine's."""
    found = {(name, rm): runs(folder, "%s_%s" % (name, rm)) for name in ("vorl", "floor")
             for rm, _ in RETAINED_MODES}
    counts = {len(r) for r in found.values()}
    if counts == {0}:
        return None
    if len(counts) != 1:
        sys.exit("summarize: the result folder lacks matching runs of both programs with both Retained Modes")
    medians = {key: [statistics.median(r[1]) for r in value] for key, value in found.items()}
    ratios = {name: [o / w for o, w in zip(medians[(name, "ours")], medians[(name, "wine")])]
              for name in ("vorl", "floor")}

    print("## Retained Mode: ours against Wine's builtin, separate programs in turn\n")
    reference = found[("vorl", "ours")]
    same = all(r[0] == ref[0] and r[2] == ref[2] for value in found.values() for r, ref in zip(value, reference))
    print("Every round runs Vorl and the floor with our Retained Mode (the d3drm.dll beside the programs, "
          "d3drm=n) and with Wine's (d3drm=b), in turn, the order reversed every second round. Ratios are "
          "ours / Wine's, each of one round's two runs. All four drew the same squares frame for frame: %s.\n"
          % ("yes" if same else "NO"))
    print("| round | Vorl, ours: median ms | Vorl, Wine's: median ms | Vorl, ours / Wine's | floor, ours: "
          "median ms | floor, Wine's: median ms | floor, ours / Wine's |")
    print("|---|---|---|---|---|---|---|")
    for i in range(len(ratios["vorl"])):
        print("| round %d | %.3f | %.3f | %.3f | %.3f | %.3f | %.3f |" % (
            i + 1, medians[("vorl", "ours")][i], medians[("vorl", "wine")][i], ratios["vorl"][i],
            medians[("floor", "ours")][i], medians[("floor", "wine")][i], ratios["floor"][i]))
    pooled = {key: [t for r in value for t in r[1]] for key, value in found.items()}
    pooled_medians = {key: statistics.median(value) for key, value in pooled.items()}
    print("| **all rounds** | %.3f | %.3f | **%.3f** | %.3f | %.3f | **%.3f** |\n" % (
        pooled_medians[("vorl", "ours")], pooled_medians[("vorl", "wine")],
        pooled_medians[("vorl", "ours")] / pooled_medians[("vorl", "wine")], pooled_medians[("floor", "ours")],
        pooled_medians[("floor", "wine")], pooled_medians[("floor", "ours")] / pooled_medians[("floor", "wine")]))
    print("| run | frames | median ms | p10 ms | p90 ms | mean ms | max ms |")
    print("|---|---|---|---|---|---|---|")
    for name, title in (("vorl", "Vorl"), ("floor", "floor")):
        for rm, label in RETAINED_MODES:
            print(row("%s with %s, all rounds" % (title, label), pooled[(name, rm)]))
    print("\nVorl's frame with ours against Wine's, median of the rounds' ratios: **%s** (goal: at most 1.00). "
          "The floor's, the same DirectX calls without the program's arithmetic: %s.\n" % (
              spread(ratios["vorl"]), spread(ratios["floor"])))
    return ratios


def goals_section(ratios, pooled):
    """One table of the figures the goals name."""
    rows = []
    if ratios:
        rows.append(("Vorl's frame, ours / Wine's Retained Mode, separate programs: median of the rounds' ratios "
                     "(smallest to largest)", spread(ratios["vorl"]), "at most 1.00"))
        rows.append(("the floor's frame, ours / Wine's: the Retained Mode's own share", spread(ratios["floor"]),
                     ""))
    start = pooled.get(("start", "ours"))
    if start and "runs_ratios" in start:
        rows.append(("Vorl's frame at the start size, ours / Wine's, interleaved runs: median of the runs' ratios",
                     spread(start["runs_ratios"]), "at most 1.00"))
    for rm, label in RETAINED_MODES:
        figures = pooled.get(("start", rm))
        if figures:
            rows.append(("start size, Vorl / floor, interleaved, both with %s: ratio of medians (median of "
                         "the pairs' ratios)" % label, "%.3f (%.3f)" % (figures["medians_ratio"],
                                                                       figures["pair_ratio"]),
                         "no worse than before our Retained Mode (docs/performance.md)" if rm == "ours" else ""))
    if not rows:
        return
    print("## Against the goals\n")
    print("| figure | value | goal |")
    print("|---|---|---|")
    for figure, value, goal in rows:
        print("| %s | %s | %s |" % (figure, value, goal))
    print()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--png")
    args = parser.parse_args()

    ratios = retained_section(args.folder)
    program_runs, floor_runs = runs(args.folder, "vorl_ours"), runs(args.folder, "floor_ours")
    program, floor = [], []
    if program_runs:
        program, floor = separate_section(program_runs, floor_runs)

    pooled = interleaved_section(args.folder)
    goals_section(ratios, pooled)

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
        ours, wine = pooled.get(("start", "ours")), pooled.get(("start", "wine"))
        if ours:
            series = [(ours["floor"], "#1f77b4", "floor, our Retained Mode")]
            if wine:
                series.append((wine["program"], "#7f7f7f", "Vorl, Wine's Retained Mode"))
            series.append((ours["program"], "#d62728", "Vorl, our Retained Mode"))
            png_plot(args.png, series, "Frame time under Wine and Xvfb, %d x %d, program and floor frames in turn"
                     % ours["client"])
        elif program:
            png_plot(args.png, [(floor, "#1f77b4", "floor"), (program, "#d62728", "Vorl")],
                     "Frame time under Wine and Xvfb: program against floor, our Retained Mode")


if __name__ == "__main__":
    main()
