#!/usr/bin/env python3
"""Exports random documents and reports the ones that crash, hang or take long.

    scripts/random-sweep.py [--seed N] [--count N] [--slow SECONDS] [--keep DIR] CURVANA

Each document has one to four graphs of random kinds with expressions that have poles,
overflow, fail on part of their domain or draw random numbers, random steps, intervals, styles
and flags, and a coordinate system with random (also reversed, empty and near-limit) ranges,
steps, switches and background. Every document is exported at 1920 x 1080 with a time limit.
A document that ends with a signal or an unexpected exit code, that is stopped by the time
limit, or that takes longer than --slow seconds is listed (and copied to --keep); exit status
1 when any crashed or was stopped. The same seed gives the same documents.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

EXPRESSIONS = [
    "sin(x)", "tan(x)", "1/x", "ln(x)", "sqrt(x)", "x^x", "exp(x^2)", "x^2+y^2-{r}",
    "sin(x*y)", "(x-{a})^2+(y-{b})^2-{r}", "x^y-y^x", "abs(x)-abs(y)", "floor(x)", "1/(x-y)",
    "sin(1/x)", "x^1000", "10^x", "asin(x)", "random(5)", "x/0", "0/0", "sin(x)^-1", "cot(x)",
    "sec(y)", "(x^2+y^2)^0.5-{r}", "sinh(x)", "y-x^3", "round(x*{a})",
]
NUMBERS = ["0", "1", "-1", "1e-300", "1e300", "-1e308", "1e-7", "0.1", "3", "1e7", "-0", "2.5",
           "100000", "-100000", "7e-5"]
VIEW_STEPS = ["XAxesTicksStep", "YAxesTicksStep", "XAxesLabelsStep", "YAxesLabelsStep",
              "GridHorStep", "GridVerStep", "GridRadialStep", "GridAngularStep"]
VIEW_FLAGS = ["XAxesDirection", "YAxesDirection", "GridHorEnabled", "GridVerEnabled",
              "GridRadialEnabled", "GridAngularEnabled", "LegendEnabled"]


def number(rng):
    if rng.random() < 0.3:
        return rng.choice(NUMBERS)
    return str(round(rng.uniform(-20, 20), 3))


def expression(rng):
    fill = {"a": number(rng), "b": number(rng), "r": number(rng)}
    text = rng.choice(EXPRESSIONS).format(**fill)
    if rng.random() < 0.3:
        text += rng.choice("+*-/") + rng.choice(EXPRESSIONS).format(a=1, b=2, r=3)
    return text


def escaped(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def graph(rng):
    kind = rng.choice([0, 1, 2, 3, 4, 4, 4, 5])
    add = rng.choice(["=0", "=0", "<0", ">0.5", "<=1", ""]) if kind == 4 else expression(rng)
    return (
        f"<FunctionObj><Name>g</Name><Exp>{escaped(expression(rng))}</Exp>"
        f"<AddExp>{escaped(add)}</AddExp><ShowEnabled>{rng.choice([1, 1, 1, 0, 2])}</ShowEnabled>"
        f"<GraphStyle><LineWidth>{rng.choice([0, 1, 2, 5, 100, -3])}</LineWidth>"
        f"<LineStyle>{rng.randint(0, 6)}</LineStyle><LineColor>{rng.randint(0, 0xFFFFFF)}"
        f"</LineColor><BrushStyle>{rng.randint(0, 7)}</BrushStyle>"
        f"<BrushColor>{rng.randint(0, 0xFFFFFF)}</BrushColor></GraphStyle>"
        f"<Interval><Min>{number(rng)}</Min><Max>{number(rng)}</Max><Enabled>1</Enabled>"
        f"</Interval><PlotParameter><Steps>{rng.choice([0, 1, 10, 500, 100000, -5, 2000000])}"
        f"</Steps><StepsOnX>{rng.choice([0, 1, 50, 1000, -1, 100000])}</StepsOnX>"
        f"<StepsOnY>{rng.choice([0, 1, 50, 1000, -1, 100000])}</StepsOnY>"
        f"<MaxGap>{rng.choice([0, 1, 300, -1, 100000])}</MaxGap></PlotParameter>"
        f"<FunctionObjType>{kind}</FunctionObjType></FunctionObj>"
    )


def coordinate(rng):
    parts = []
    for tag in ["XInterval", "YInterval"]:
        parts.append(f"<{tag}><Min>{number(rng)}</Min><Max>{number(rng)}</Max>"
                     f"<Enabled>1</Enabled></{tag}>")
    for tag in VIEW_STEPS:
        if rng.random() < 0.4:
            parts.append(f"<{tag}>{number(rng)}</{tag}>")
    for tag in VIEW_FLAGS:
        if rng.random() < 0.4:
            parts.append(f"<{tag}>{rng.choice([0, 1, 2, -1])}</{tag}>")
    if rng.random() < 0.3:
        parts.append(f"<BackgroundColor>{rng.randint(0, 0xFFFFFF)}</BackgroundColor>")
    return "<Coordinate>" + "".join(parts) + "</Coordinate>"


def document(rng):
    graphs = "".join(graph(rng) for _ in range(rng.randint(1, 4)))
    return f"<CurvanaDocument><Memory>{graphs}</Memory>{coordinate(rng)}</CurvanaDocument>"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("curvana")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--count", type=int, default=500)
    parser.add_argument("--slow", type=float, default=4.0)
    parser.add_argument("--limit", type=float, default=60.0, help="seconds before a stop")
    parser.add_argument("--keep", help="folder to copy the listed documents to")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    failed = False
    worst = (0.0, "")
    with tempfile.TemporaryDirectory() as work:
        for i in range(args.count):
            path = os.path.join(work, f"random-{args.seed}-{i}.xml")
            with open(path, "w", encoding="utf-8") as f:
                f.write(document(rng))
            out = os.path.join(work, "out")
            shutil.rmtree(out, ignore_errors=True)
            start = time.monotonic()
            try:
                run = subprocess.run([args.curvana, "--export", out, "--size", "1920x1080", path],
                                     capture_output=True, timeout=args.limit, check=False)
                verdict = None if run.returncode in (0, 1) else f"exit {run.returncode}"
            except subprocess.TimeoutExpired:
                verdict = f"stopped after {args.limit:.0f} s"
            seconds = time.monotonic() - start
            worst = max(worst, (seconds, os.path.basename(path)))
            if verdict is None and seconds > args.slow:
                verdict = "slow"
            if verdict is None:
                continue
            failed = failed or verdict != "slow"
            print(f"{os.path.basename(path)}: {verdict} ({seconds:.1f} s)", flush=True)
            if args.keep:
                os.makedirs(args.keep, exist_ok=True)
                shutil.copy(path, args.keep)
    print(f"{args.count} documents, the slowest {worst[1]} in {worst[0]:.1f} s")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
