#!/usr/bin/env bash
# Builds the fuzz targets in build/fuzz (clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs them one after the other.
#
#   scripts/fuzz.sh [-t SECONDS | -n RUNS] [TARGET...]
#
# -t: how long each target runs (default 60 s); -n: how many inputs each runs instead. A TARGET is
# named after its source, fuzz/TARGET_fuzz.cpp (ini_file, password_code, folder_key,
# protected_list); all of them by default. Each target grows its corpus in build/fuzz/corpus/TARGET,
# starting from fuzz/seeds/TARGET and the inputs that once broke it, fuzz/findings/TARGET. An input
# that breaks a check or trips a sanitizer is kept in build/fuzz/findings and makes the script
# fail (copy it to fuzz/findings/TARGET once mended, and the native tests replay it); the whole
# output of each run is in build/fuzz/logs.
# Every target ends with one line: its runs, their speed and the coverage reached.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

limit=(-max_total_time=60)
while getopts "t:n:" option; do
  case $option in
    t) limit=(-max_total_time="$OPTARG") ;;
    n) limit=(-runs="$OPTARG") ;;
    *)
      echo "usage: scripts/fuzz.sh [-t SECONDS | -n RUNS] [TARGET...]" >&2
      exit 2
      ;;
  esac
done
shift $((OPTIND - 1))

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" _fuzz.cpp)")
  done
fi

build=build/fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DFOLVANE_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOLVANE_WERROR="${FOLVANE_WERROR:-OFF}" >/dev/null
cmake --build "$build" -j 2 --target "${targets[@]/%/_fuzz}"
mkdir -p "$build/findings" "$build/logs"

failed=0
for target in "${targets[@]}"; do
  # Inputs no longer than a file or a title the program meets; dictionaries of the pieces that
  # matter to each.
  case $target in
    ini_file | protected_list) options=(-max_len=512 -dict=fuzz/ini.dict) ;;
    folder_key) options=(-max_len=256 -dict=fuzz/folder_key.dict) ;;
    password_code) options=(-max_len=256 -dict=fuzz/password_code.dict) ;;
    *) options=() ;;
  esac
  corpus=$build/corpus/$target
  log=$build/logs/$target.log
  mkdir -p "$corpus"
  # The seeds, and every input that once broke the target (the native tests replay those too).
  seeds=()
  [[ -d fuzz/seeds/$target ]] && seeds+=("fuzz/seeds/$target")
  [[ -d fuzz/findings/$target ]] && seeds+=("fuzz/findings/$target")
  if "$build/${target}_fuzz" "${options[@]}" "${limit[@]}" -timeout=10 \
    -artifact_prefix="$build/findings/$target-" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    # "#N DONE cov: C ft: F corp: K/Sb lim: L exec/s: E rss: R" and "Done N runs in S second(s)"
    read -r runs cov ft corp speed < <(awk '/DONE/ { print substr($1, 2), $4, $6, $8, $12 }' "$log" |
      tail -1)
    seconds=$(awk '/^Done / { print $5 }' "$log" | tail -1)
    echo "fuzz $target: $runs runs in $seconds s ($speed exec/s), cov $cov, ft $ft," \
      "corpus ${corp%%/*} inputs"
  else
    failed=1
    echo "fuzz $target: FAILED, see $log" >&2
    grep -E "check failed|ERROR|SUMMARY|Test unit written" "$log" >&2 || tail -20 "$log" >&2
  fi
done
exit $failed
