#!/usr/bin/env python3
"""Turns the JSON output of curvana_expr_bench into the table of bench/README.md.

    build/bench/bench/curvana_expr_bench --benchmark_repetitions=10 \\
        --benchmark_format=json > expr.json
    python3 bench/expr_table.py expr.json

Each figure is the smallest CPU time of the repetitions: other work on a shared machine only
ever adds time.
"""
import json
import math
import sys

BATCH = 256  # samples per BM_OursBatch iteration


def main(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    best = {}
    labels = {}
    for run in runs:
        if run.get("run_type") == "aggregate":
            continue
        name = run.get("run_name", run["name"])
        scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[run["time_unit"]]
        t = run["cpu_time"] * scale
        best[name] = min(best.get(name, t), t)
        if run.get("label"):
            labels[name] = run["label"]
    rows = []
    for i in range(100):
        ours, mu, native = (f"BM_{k}/{i}" for k in ("Ours", "MuParser", "Native"))
        if ours not in best:
            break
        # A batch iteration evaluates a block of BATCH samples.
        batch = best.get(f"BM_OursBatch/{i}", math.nan) / BATCH
        rows.append((labels.get(ours, ours), labels.get(mu, ""), best[ours], best[mu], best[native],
                     batch))
    print("| Expression (ours / muparser) | ours ns | muparser ns | native ns | ours/muparser "
          "| ours/native | batch ns | batch/native |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for label, mulabel, o, m, n, b in rows:
        other = f" / `{mulabel}`" if mulabel and mulabel != label else ""
        print(f"| `{label}`{other} | {o:.1f} | {m:.1f} | {n:.1f} | {o / m:.2f} | {o / n:.2f} "
              f"| {b:.1f} | {b / n:.2f} |")

    def gm(xs):
        return math.exp(sum(math.log(x) for x in xs) / len(xs))

    print(
        f"| geometric mean | {gm([r[2] for r in rows]):.1f} | {gm([r[3] for r in rows]):.1f} "
        f"| {gm([r[4] for r in rows]):.1f} | {gm([r[2] / r[3] for r in rows]):.2f} "
        f"| {gm([r[2] / r[4] for r in rows]):.2f} | {gm([r[5] for r in rows]):.1f} "
        f"| {gm([r[5] / r[4] for r in rows]):.2f} |"
    )
    print()
    for name in sorted(best):
        if "Compile" in name:
            print(f"- `{name}`: {best[name] / 1e6:.1f} ms")


if __name__ == "__main__":
    main(sys.argv[1])
