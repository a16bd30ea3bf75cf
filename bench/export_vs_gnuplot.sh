#!/usr/bin/env bash
# Picture export against gnuplot's png terminal, both at 1920 x 1080, on the same four plots:
# an empty plot, six curves, a polar rose with a Lissajous curve, and a 100,000-point table.
#
#   bash bench/export_vs_gnuplot.sh [CURVANA] [RUNS] [OTHER_CURVANA...]
#
# CURVANA defaults to build/bench/app/curvana. Each plot is drawn RUNS times (default 7) by each
# program in turn (further curvana builds, for example a build from before a change, take their
# turn beside it); the script prints, per program, the median wall time and the median CPU time
# (user + system) of the whole process in milliseconds, and their ratios to gnuplot's. On a
# busy machine the CPU times are the steadier figure. Installs gnuplot-nox when gnuplot is
# missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
curvana=${1:-$root/build/bench/app/curvana}
runs=${2:-7}
others=("${@:3}")

if ! command -v gnuplot >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q gnuplot-nox >/dev/null
fi
for program in "$curvana" "${others[@]}"; do
    [ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'EOF'
import math, sys
out = sys.argv[1]

def style(color):
    return (f"<GraphStyle><LineWidth>1</LineWidth><LineStyle>0</LineStyle><LineColor>{color}"
            f"</LineColor><BrushStyle>1</BrushStyle><BrushColor>16777215</BrushColor></GraphStyle>")

def function(kind, exp, add="", color=0, interval=(0, 0), steps=1000):
    return (f"<FunctionObj><Name>f</Name><Exp>{exp}</Exp><AddExp>{add}</AddExp>"
            f"<ShowEnabled>1</ShowEnabled>{style(color)}<Interval><Min>{interval[0]}</Min>"
            f"<Max>{interval[1]}</Max><Enabled>1</Enabled></Interval><PlotParameter><Steps>"
            f"{steps}</Steps><StepsOnX>50</StepsOnX><StepsOnY>50</StepsOnY><MaxGap>300</MaxGap>"
            f"</PlotParameter><FunctionObjType>{kind}</FunctionObjType></FunctionObj>\n")

def document(name, graphs, gnuplot):
    with open(f"{out}/{name}.xml", "w") as f:
        f.write("<CurvanaDocument><Memory>\n" + "".join(graphs) + "</Memory><Coordinate>"
                "<XInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></XInterval>"
                "<YInterval><Min>-10</Min><Max>10</Max><Enabled>1</Enabled></YInterval>"
                "</Coordinate></CurvanaDocument>\n")
    with open(f"{out}/{name}.gp", "w") as f:
        f.write(f"set terminal png size 1920,1080\nset output '{out}/{name}.png'\n"
                "set xrange [-10:10]\nset yrange [-10:10]\nset samples 1000\n" + gnuplot)

document("empty", [], "plot 1/0 notitle\n")
six = ["3*sin(x)", "3*cos(x)", "x^2/4-5", "exp(x/2)-3", "x^3/20-x", "5*exp(-abs(x)/4)*sin(3*x)"]
document("six-curves", [function(0, e, color=255 * (i + 1)) for i, e in enumerate(six)],
         "plot " + ", ".join(e.replace("^", "**") for e in six) + "\n")
document("polar-lissajous",
         [function(2, "6*sin(4*a)", color=255, interval=(0, 2), steps=2000),
          function(3, "8*sin(3*t)", "8*cos(5*t)", color=65280, interval=(0, 6.2832), steps=2000)],
         "set parametric\nset samples 2000\nset trange [0:2*pi]\n"
         "plot 6*sin(4*t)*cos(t), 6*sin(4*t)*sin(t), 8*sin(3*t), 8*cos(5*t)\n")
points = []
with open(f"{out}/table.dat", "w") as data:
    for i in range(100000):
        x = -10 + 20 * i / 99999
        y = 6 * math.sin(x) * math.exp(-x * x / 80) + 0.3 * math.sin(37 * x)
        points.append(f"<TableElemObj><x>{x:.4f}</x><y>{y:.4f}</y></TableElemObj>\n")
        data.write(f"{x:.4f} {y:.4f}\n")
document("table-100000",
         ["<TableObj><Name>t</Name><ShowEnabled>1</ShowEnabled>" + style(255) +
          "<Smooth>0</Smooth><TableElemObjList>\n" + "".join(points) +
          "</TableElemObjList></TableObj>\n"],
         f"plot '{out}/table.dat' with lines notitle\n")
EOF

# Wall and CPU (user + system) milliseconds of one run of a command, as "WALL CPU".
measure() {
    local TIMEFORMAT='%3R %3U %3S' times
    times=$({ time "$@" >/dev/null 2>&1; } 2>&1)
    awk '{ printf "%d %d\n", $1 * 1000 + 0.5, ($2 + $3) * 1000 + 0.5 }' <<<"$times"
}

median() {
    sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'
}

programs=("$curvana" "${others[@]}")
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((p = 0; p < ${#programs[@]}; p++)); do
    echo "curvana #$((p + 1)): ${programs[p]}"
done
printf '%-16s %-11s %8s %8s %10s %9s\n' plot program wall_ms cpu_ms wall_ratio cpu_ratio
for name in empty six-curves polar-lissajous table-100000; do
    declare -A wall=() cpu=()
    for ((i = 0; i < runs; i++)); do
        # Each round starts with another program, so none is always measured first.
        for ((k = 0; k <= ${#programs[@]}; k++)); do
            p=$(((i + k) % (${#programs[@]} + 1)))
            rm -rf "$work/out" && mkdir "$work/out"
            if ((p == ${#programs[@]})); then
                read -r w c < <(measure gnuplot "$work/$name.gp")
            else
                read -r w c < <(measure "${programs[p]}" --export "$work/out" --size 1920x1080 \
                    "$work/$name.xml")
            fi
            wall[$p]+="$w "
            cpu[$p]+="$c "
        done
    done
    g=${#programs[@]}
    gw=$(tr ' ' '\n' <<<"${wall[$g]}" | grep . | median)
    gc=$(tr ' ' '\n' <<<"${cpu[$g]}" | grep . | median)
    printf '%-16s %-11s %8s %8s\n' "$name" gnuplot "$gw" "$gc"
    for ((p = 0; p < g; p++)); do
        w=$(tr ' ' '\n' <<<"${wall[$p]}" | grep . | median)
        c=$(tr ' ' '\n' <<<"${cpu[$p]}" | grep . | median)
        printf '%-16s %-11s %8s %8s %10s %9s\n' "" "curvana #$((p + 1))" "$w" "$c" \
            "$(ratio "$w" "$gw")" "$(ratio "$c" "$gc")"
    done
    unset wall cpu
done
