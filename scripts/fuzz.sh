#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang and runs each on its
# seeds for a while (FUZZ_SECONDS, 20 by default), printing how many inputs it
# tried. Without clang there is nothing to do.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed, no fuzzing"
  exit 0
fi
seconds=${FUZZ_SECONDS:-20}
dir=build-fuzz
declare -A seeds=(
  [systemfile]="tests/fuzz/seeds/sistema.vrl"
  [taratura]="outputs/data/printA.cfg"
  [ruote]="app/data/ruote.vrc"
  [impostazioni]="app/data/impostazioni.cfg"
  [versione]="tests/fuzz/seeds/versione.txt"
  [testi]="tests/fuzz/seeds/importo.txt tests/fuzz/seeds/distanza.txt"
  [archivio]="tests/fuzz/seeds/estrazioni.txt"
  [consegna]="tests/fuzz/seeds/consegna.txt"
  [zip]="tests/fuzz/seeds/storico.zip tests/fuzz/seeds/due.zip tests/fuzz/seeds/senza-nome.zip tests/fuzz/seeds/collegamento.zip"
)
targets=(systemfile taratura ruote impostazioni versione testi archivio consegna zip)
# The archive reader's faults can need megabytes (time, memory): inputs that
# size from the start.
declare -A limits=([archivio]="-max_len=4194304 -len_control=0")

cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBRAMA_FUZZ=ON -DBRAMA_TESTS=OFF -DBRAMA_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

status=0
for t in "${targets[@]}"; do
  corpus=$(mktemp -d /tmp/brama-fuzz.XXXXXX)
  # shellcheck disable=SC2086 # the seed list is split on purpose
  cp ${seeds[$t]} "$corpus"/
  log="$dir/fuzz/$t.log"
  # shellcheck disable=SC2086 # so are the limits
  if ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$dir/fuzz/fuzz_$t" -max_total_time="$seconds" -print_final_stats=1 ${limits[$t]:-} \
    -artifact_prefix="$dir/fuzz/$t-" "$corpus" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$t: ${runs:-?} inputs tried in ${seconds} s"
  else
    echo "fuzz_$t: FAILED, the input is in $dir/fuzz/$t-*"
    tail -n 40 "$log"
    status=1
  fi
  rm -rf "$corpus"
done
exit $status
