#!/usr/bin/env bash
# Installs what is missing, checks the format, builds the program twice (plain,
# then with AddressSanitizer and UBSan), runs every test on both builds, fuzzes
# the readers (scripts/fuzz.sh) and prints the tests' share of the code.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# Clones in other folders share the cache.
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=true
export XDG_RUNTIME_DIR=$(mktemp -d /tmp/brama-runtime.XXXXXX)
chmod 700 "$XDG_RUNTIME_DIR"
trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT

status=0
echo "== Format =="
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror; then
  echo "every C++ file follows .clang-format"
else
  status=1
fi

run_build() { # <folder> <cmake options...>
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs") || status=1
}

echo "== Build and tests =="
run_build build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAMA_WERROR=ON
echo "== Build and tests under AddressSanitizer and UBSan =="
# Leaks are errors; the suppressions name only system libraries' own leaks.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-system.supp:print_suppressions=0 \
  run_build build-asan -DCMAKE_BUILD_TYPE=Debug -DBRAMA_SANITIZE=ON -DBRAMA_BENCH=OFF -DBRAMA_WERROR=ON
echo "== Fuzzing the readers =="
bash scripts/fuzz.sh || status=1

# Tests are meant to stay between a quarter and a third of the code.
nonblank() { xargs -r cat | grep -cvE '^\s*$'; }
# Tests against the rest of the C++ (bench/ included), and against the program alone.
rest=$(git ls-files '*.cpp' '*.h' | grep -vE '^tests/' | nonblank)
code=$(git ls-files '*.cpp' '*.h' | grep -vE '^(tests|bench)/' | nonblank)
tests=$(git ls-files 'tests/*.cpp' 'tests/*.h' | nonblank)
share() { echo "$((1000 * tests / $1 / 10)).$((1000 * tests / $1 % 10))%"; }
echo "== Test share: $tests test lines against $rest other lines, $(share $rest) ($(share $code) of the program's $code) =="
exit $status
