#!/usr/bin/env bash
# Runs the fuzz targets of a fuzz build (see fuzz/CMakeLists.txt).
#   scripts/fuzz.sh BUILD run SECONDS [TARGET...]   fuzz each target for SECONDS
#   scripts/fuzz.sh BUILD replay [TARGET...]        run every kept input once, no fuzzing
# Kept inputs are fuzz/corpus/<target>/ and fuzz/regressions/<target>/; what a run learns goes
# to BUILD/fuzz-corpus/<target>/, what it finds to BUILD/fuzz-findings/<target>/. A finding
# stops that target; the others still run, and the script fails at the end.
set -uo pipefail
cd "$(dirname "$0")/.."

build=$1 mode=$2
shift 2
seconds=0
if [[ $mode == run ]]; then
    seconds=$1
    shift
fi
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    mapfile -t targets < "$build/fuzz/targets.txt"
fi

# Each input may take a while only where a program is started for it.
timeout_of() { [[ $1 == metafile ]] && echo 120 || echo 25; }

failed=()
summary=()
for target in "${targets[@]}"; do
    [[ -n $target ]] || continue
    program=$build/fuzz/fuzz_$target
    if [[ ! -x $program ]]; then
        echo "No fuzz target $target in $build" >&2
        failed+=("$target")
        continue
    fi
    kept=()
    for dir in fuzz/corpus/$target fuzz/regressions/$target; do
        [[ -d $dir ]] && kept+=("$dir")
    done
    options=(-timeout="$(timeout_of "$target")" -rss_limit_mb=2560 -print_final_stats=1)
    [[ -f fuzz/dictionaries/$target.dict ]] && options+=(-dict="fuzz/dictionaries/$target.dict")
    log=$build/fuzz-logs/$target.log
    mkdir -p "$build/fuzz-logs" "$build/fuzz-corpus/$target" "$build/fuzz-findings/$target"
    if [[ $mode == replay ]]; then
        # The first folder is where libFuzzer would put what it learns: an empty one of its own.
        scratch=$build/fuzz-replay/$target
        rm -rf "$scratch" && mkdir -p "$scratch"
        "$program" "${options[@]}" -runs=0 "$scratch" "${kept[@]}" > "$log" 2>&1
    else
        echo "== fuzzing $target for $seconds s"
        "$program" "${options[@]}" -max_total_time="$seconds" \
            -artifact_prefix="$build/fuzz-findings/$target/" \
            "$build/fuzz-corpus/$target" "${kept[@]}" > "$log" 2>&1
    fi
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [[ $status -ne 0 ]]; then
        failed+=("$target")
        summary+=("$(printf '%-16s %12s  FAILED, see %s' "$target" "${runs:-?}" "$log")")
        grep -m1 -E "ERROR|property broken|SUMMARY" "$log" >&2
    else
        summary+=("$(printf '%-16s %12s' "$target" "${runs:-?}")")
    fi
done

printf '\n%-16s %12s\n' target executions
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Failed: ${failed[*]}" >&2
    [[ $mode == run ]] && echo "Findings are in $build/fuzz-findings/; keep each as fuzz/regressions/<target>/<name> once fixed." >&2
    exit 1
fi
