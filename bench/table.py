#!/usr/bin/python3
"""Prints the benchmark table from the timed runs that bench/run recorded.

    table.py WORK_FOLDER
"""
import pathlib
import statistics
import sys

MIB = 1024 * 1024

# Case, what it shows, the case it is measured against, the largest ratio allowed.
ROWS = [
    ("export_all", "export, All", "export_all_floor", 1.5),
    ("export_all_floor", "  floor: cp -r of its output", None, None),
    ("export_unique", "export, Unique", "export_unique_floor", 1.5),
    ("export_unique_floor", "  floor: cp -r of its output", None, None),
    ("compile_rle8", "compile, RLE8 bitmaps", "compile_floor", 1.5),
    ("compile_floor", "  floor: read the inputs, cp -r the GRPs", None, None),
    ("compile_rgb24", "compile, 24-bit bitmaps", "compile_rle8", 2.0),
    ("list", "list the archive", None, None),
    ("extract", "extract every sprite (--all)", "extract_floor", 1.2),
    ("extract_floor", "  floor: smpq -x", None, None),
    ("preview", "preview, every frame", None, None),
    ("export_all_x2", "doubled corpus: export, All", "export_all", 2.1),
    ("compile_rle8_x2", "doubled corpus: compile, RLE8", "compile_rle8", 2.1),
    ("extract_x2", "doubled corpus: extract", "extract", 2.1),
    ("real_export", "real sprites: export, All", "real_export_floor", 1.5),
    ("real_export_floor", "  floor: cp -r of its output", None, None),
    ("real_compile", "real sprites: compile", "real_compile_floor", 1.5),
    ("real_compile_floor", "  floor: read the inputs, cp -r the GRPs", None, None),
    ("real_compile_compact", "real sprites: compile --compact", "real_compile", 3.0),
    ("web_export_all", "web module under Node: export, All", "export_all", 3.0),
]
# Rows judged by their CPU time rather than their wall time: the module runs one thread where
# the native export overlaps its writing with a thread of its own.
JUDGED_BY_CPU = {"web_export_all"}
# The sizes the best-known peer writes for the shared real samples (frames exported by us,
# compiled by the peer with its frame and row sharing), in bytes.
PEER_SIZES = {"SampleImage": 52597, "circle": 5470, "cmdicons": 220613, "kills": 1912,
              "o022": 93, "o224": 939, "od022": 135, "od224": 1115}
BELOW_PEER_TOTAL = 0.95
CONVERTER_RUNS = ["export_all", "export_unique", "compile_rle8", "compile_rgb24", "list",
                  "extract", "preview", "real_export", "real_compile", "real_compile_compact"]
PEAK_LIMIT_MIB = 64
LARGE_FRAME_LIMIT_US = 1000


def load_runs(work):
    runs = {}
    for line in (work / "times" / "runs.txt").read_text().splitlines():
        name, round_, start, end, user, system, peak = line.split()
        runs.setdefault(name, {})[int(round_)] = {
            "wall": float(end) - float(start),
            "cpu": float(user) + float(system),
            "peak": int(peak) * 1024,
        }
    return runs


def preview_values(work, key):
    values = []
    for path in sorted((work / "times").glob("preview.*.out")):
        for line in path.read_text().splitlines():
            parts = line.split()
            if parts and parts[0] == key:
                values.append(parts[1] if len(parts) == 2 else " ".join(parts[1:]))
    return values


def paired_ratio(runs, name, against, measure):
    pairs = [runs[name][r][measure] / runs[against][r][measure]
             for r in runs[name] if r in runs[against] and runs[against][r][measure] > 0]
    return statistics.median(pairs)


def size_table(work):
    """The sizes of the real samples against the peer's; the verdicts, or [] without them."""
    sizes = work / "real-sizes.txt"
    if not sizes.exists():
        print("\nNo real samples beside the checkout: sizes against the peer left out.")
        return []
    print("\nReal samples, exported (All) and compiled back, in bytes:\n")
    print("| sprite | peer | default | compact | compact / peer | not above the peer |")
    print("|---|---:|---:|---:|---:|---|")
    verdicts = []
    totals = [0, 0, 0]
    for line in sizes.read_text().splitlines():
        name, default, compact = line.split()
        default, compact = int(default), int(compact)
        peer = PEER_SIZES.get(name)
        if peer is None:
            print(f"| {name}.grp | | {default:,} | {compact:,} | | |")
            continue
        met = compact <= peer
        verdicts.append(met)
        totals = [totals[0] + peer, totals[1] + default, totals[2] + compact]
        print(f"| {name}.grp | {peer:,} | {default:,} | {compact:,} | {compact / peer:.3f} |"
              f" {'yes' if met else 'NO'} |")
    if totals[0]:
        met = totals[2] <= BELOW_PEER_TOTAL * totals[0]
        verdicts.append(met)
        print(f"| total | {totals[0]:,} | {totals[1]:,} | {totals[2]:,} |"
              f" {totals[2] / totals[0]:.3f} | <= {BELOW_PEER_TOTAL}: {'yes' if met else 'NO'} |")
    return verdicts


def main():
    work = pathlib.Path(sys.argv[1])
    runs = load_runs(work)
    corpus = [(work / f"corpus{s}.txt").read_text().strip() for s in (1, 2)]
    same, sprites = (work / "roundtrip.txt").read_text().split()
    rounds = max(len(r) for r in runs.values())

    print(f"Corpus: {corpus[0]}; doubled: {corpus[1]}.")
    real = work / "real-corpus.txt"
    if real.exists():
        print(f"Real sprites: the shared real samples 15 times, {real.read_text().strip()}.")
    print(f"Medians of {rounds} interleaved rounds; ratios are medians of the ratios of runs "
          "made side by side.\n")
    print("| run | wall s | CPU s | peak MiB | against | ratio (wall) | ratio (CPU) | target | met |")
    print("|---|---:|---:|---:|---|---:|---:|---:|---|")
    verdicts = []
    for name, label, against, limit in ROWS:
        if name not in runs:
            continue
        case = runs[name].values()
        wall = statistics.median(r["wall"] for r in case)
        cpu = statistics.median(r["cpu"] for r in case)
        peak = max(r["peak"] for r in case) / MIB
        cells = [label, f"{wall:.3f}", f"{cpu:.3f}", f"{peak:.1f}", "", "", "", "", ""]
        if against in runs:
            ratio = paired_ratio(runs, name, against,
                                 "cpu" if name in JUDGED_BY_CPU else "wall")
            cells[4] = dict((r[0], r[1].strip()) for r in ROWS)[against].replace("floor: ", "")
            cells[5] = f"{ratio:.2f}"
            cells[6] = f"{paired_ratio(runs, name, against, 'cpu'):.2f}"
            cells[7] = f"<= {limit}"
            cells[8] = "yes" if ratio <= limit else "NO"
            verdicts.append(ratio <= limit)
        print("| " + " | ".join(cells) + " |")

    frames = preview_values(work, "frames")
    per_frame = [float(v) for v in preview_values(work, "cpu_us_per_frame")]
    large = [float(v) for v in preview_values(work, "large_frame_cpu_us_median")]
    if per_frame:
        print(f"| preview, CPU per frame ({frames[0]} frames) | | {statistics.median(per_frame):.1f} µs"
              " | | | | | | |")
    if large:
        value = statistics.median(large)
        met = value < LARGE_FRAME_LIMIT_US
        verdicts.append(met)
        box = preview_values(work, "large_frame")[0]
        print(f"| preview, CPU of one 256 x 256 sprite's frame ({box}) | | {value:.0f} µs | | | | |"
              f" < 1000 µs | {'yes' if met else 'NO'} |")
    peak = max(r["peak"] for name in CONVERTER_RUNS if name in runs
               for r in runs[name].values()) / MIB
    verdicts.append(peak <= PEAK_LIMIT_MIB)
    print(f"| peak memory of any converter run on the corpus | | | {peak:.1f} | | | |"
          f" <= {PEAK_LIMIT_MIB} | {'yes' if peak <= PEAK_LIMIT_MIB else 'NO'} |")
    verdicts += size_table(work)
    web_size = work / "web-size.txt"
    if web_size.exists():
        wasm, js = (int(v) for v in web_size.read_text().split())
        print(f"\nThe web module: {wasm + js:,} bytes ({wasm:,} of WebAssembly, {js:,} of"
              " JavaScript); its row is judged by CPU time.")
    else:
        print("\nNo web build (make web): the module's row is left out.")
    print(f"\nRound trip (Unique export compiled back): {same} of {sprites} sprites byte-identical.")
    print(f"Targets met: {sum(verdicts)} of {len(verdicts)}.")


if __name__ == "__main__":
    main()
