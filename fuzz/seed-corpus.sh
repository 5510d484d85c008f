#!/bin/sh
# Seed corpora for the fuzz targets, taken from the project's own files:
# the bundled examples, the test data and the few workspaces kept in
# fuzz/corpus (sections that those do not show) as whole workspace files,
# and as formulas the right-hand sides of their formula lines plus the
# formula texts of the expression tests' data rows.
#   fuzz/seed-corpus.sh SOURCE_DIR OUTPUT_DIR
# fills OUTPUT_DIR/workspace and OUTPUT_DIR/formula, one input per file.
set -eu
src=$1
out=$2
rm -rf "$out"
mkdir -p "$out/workspace" "$out/formula"

workspaces="$src/examples/*.txt $src/tests/data/*.txt $src/fuzz/corpus/workspace/*.txt"
for f in $workspaces; do
    cp "$f" "$out/workspace/$(basename "$(dirname "$f")")-$(basename "$f")"
done

n=0
seed() {
    n=$((n + 1))
    printf '%s' "$1" > "$out/formula/seed-$n"
}

# "q = 1 - p," gives "1 - p"; "seen once, 2*s*p*q," gives "2*s*p*q"; the
# counts and option lines give numbers, harmless as seeds.
for f in $workspaces; do
    sed -e 's/#.*//' -e 's/[,;] *$//' "$f" |
        sed -n -e 's/^[^=]*= *\(.*\)$/\1/p' -e 's/^[^=,]*, *\([^,]*\).*$/\1/p'
done | sort -u > "$out/lines"

while IFS= read -r line; do
    if [ -n "$line" ]; then seed "$line"; fi
done < "$out/lines"
rm "$out/lines"

# The first string after QTest::newRow("name") in the expression tests is
# the formula text of the row; its C escapes (\t, \n) are expanded.
sed -n 's/.*QTest::newRow("[^"]*") *<< *"\(\([^"\\]\|\\.\)*\)".*/\1/p' "$src"/tests/expr/*.cpp |
    while IFS= read -r line; do seed "$(printf '%b' "$line")"; done
