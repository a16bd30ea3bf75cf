#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) in build/fuzz and runs each for SECONDS (default 60), niced, one
# job at a time. Targets: expr document slideshow (all by default).
#
# New inputs go to build/fuzz/work/<target> (the seed corpus in fuzz/corpus/ stays as committed);
# crashes, leaks and timeouts go to build/fuzz/findings/<target>/. Reproduce one with
#   build/fuzz/fuzz/curvana_fuzz_<target> build/fuzz/findings/<target>/crash-...
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(expr document slideshow)

bash scripts/install-deps.sh
dir=build/fuzz
if [ ! -f "$dir/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DCURVANA_FUZZ=ON -DCURVANA_BUILD_TESTS=OFF \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer" \
        >/dev/null
fi
# Several runs of this script may start at once (one per target): one build at a time.
for t in "${targets[@]}"; do
    flock "$dir/.build-lock" nice -n 19 cmake --build "$dir" --target "curvana_fuzz_$t" --parallel 2
done

for t in "${targets[@]}"; do
    work=$dir/work/$t
    findings=$dir/findings/$t
    mkdir -p "$work" "$findings"
    echo "Fuzzing $t for ${seconds}s (findings in $findings)"
    # Timeouts count as findings: a document must never keep the window busy for long. The
    # limit is wall time and the run is niced, so re-run a slow unit alone before trusting it.
    # With -jobs libFuzzer writes its log as fuzz-0.log into the current folder, so each target
    # runs in a folder of its own (several targets may run at once).
    run=$dir/run/$t
    mkdir -p "$run"
    (cd "$run" && nice -n 19 "$root/$dir/fuzz/curvana_fuzz_$t" "$root/$work" "$root/fuzz/corpus/$t" \
        -dict="$root/fuzz/$t.dict" -max_total_time="$seconds" -jobs=1 -workers=1 \
        -timeout=60 -rss_limit_mb=3072 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$root/$findings/" >/dev/null 2>&1 || true)
    # Keep every session's log: the fuzzing time per target adds up from their final lines.
    cat "$run/fuzz-0.log" >>"$dir/$t-sessions.log" 2>/dev/null || true
    tail -n 12 "$run/fuzz-0.log" || true
    ls "$findings"
done
