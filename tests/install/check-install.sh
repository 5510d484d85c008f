#!/bin/sh
# PELK as `cmake --install` leaves it. Builds only what is installed, without
# sanitizers, in a kept build tree of its own (a later run rebuilds only what
# changed), installs it under a temporary prefix and checks the tree there:
# pelk-cli estimates the example, pelk starts offscreen and finds its help
# under the prefix, the desktop entry and the metainfo pass their validators.
#   check-install.sh SOURCE_DIR BUILD_DIR GENERATOR CXX_COMPILER
set -eu

source_dir=$1 build_dir=$2 generator=$3 compiler=$4

# A make of its own, not part of the one running the suite. No optimisation
# and no debug information: the quickest build; what is checked is where
# things land.
unset MAKEFLAGS MFLAGS MAKELEVEL
cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DCMAKE_CXX_COMPILER="$compiler" \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O0 \
    -DPELK_BUILD_TESTS=OFF -DPELK_SANITIZE=OFF -DPELK_TSAN=OFF -DPELK_COVERAGE=OFF >/dev/null
cmake --build "$build_dir" -j 2 --target pelk pelk-cli pelk_help

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
prefix=$(cd "$prefix" && pwd -P)
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
# The programs' settings go into the prefix, never the user's own.
export XDG_CONFIG_HOME="$prefix/config"

fail() { echo "FAIL: $*" >&2; exit 1; }

# N = 147.753 maximises the profiled likelihood of the example (40, 30 and
# 20 animals; see tests/support/TwoSampleCapture.h); the report gives the
# estimate with six significant digits.
"$prefix/bin/pelk-cli" estimate "$source_dir/examples/two-sample-capture.txt" >"$prefix/summary.txt" 2>/dev/null ||
    fail "the installed pelk-cli did not estimate the example"
awk '$1 == "N" && $2 > 147.74 && $2 < 147.77 { found = 1 } END { exit !found }' "$prefix/summary.txt" ||
    fail "the installed pelk-cli did not find N = 147.75: $(cat "$prefix/summary.txt")"

expected="Help collection: $prefix/share/pelk/pelk4_4_a.qhc"
found=$(QT_QPA_PLATFORM=offscreen timeout 120 "$prefix/bin/pelk" --self-check 2>/dev/null) ||
    fail "the installed pelk did not start and find its help: $found"
[ "$found" = "$expected" ] || fail "the installed pelk reported \"$found\", not \"$expected\""

entry="$prefix/share/applications/org.zav.pelk.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$prefix/bin/$program" ] || fail "the desktop entry starts \"$program\", which is not installed"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/64x64/apps/$icon.png" ] || fail "the icon \"$icon\" is not installed"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zav.pelk.metainfo.xml" >/dev/null ||
    fail "appstreamcli rejects the metainfo: $(appstreamcli validate --no-net "$prefix/share/metainfo/org.zav.pelk.metainfo.xml")"

echo "Installed PELK checked under $prefix"
