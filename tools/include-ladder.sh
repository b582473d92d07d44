#!/usr/bin/env bash
# The source folders form a ladder: no folder includes a header of a folder that, directly or
# through others, includes it back. A cycle means a piece lives in the wrong folder.
#   tools/include-ladder.sh          checks; prints each cycle and exits 1 when there is one
#   tools/include-ladder.sh --list   also lists which folder includes which, and how often
set -euo pipefail
cd "$(dirname "$0")/.."
list=0
[[ "${1:-}" == "--list" ]] && list=1

# One line "from to count" per pair of different folders.
edges=$(
  for dir in src/*/; do
    from=$(basename "$dir")
    grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' "$dir" \
        --include='*.h' --include='*.cpp' \
      | sed -E 's/.*"([a-z_]+)\/$/\1/' | sort | uniq -c \
      | awk -v from="$from" '$2 != from { print from, $2, $1 }'
  done
)

if ((list)); then
  for dir in src/*/; do
    from=$(basename "$dir")
    echo "$from:"
    awk -v from="$from" '$1 == from { printf "  %5d %s\n", $3, $2 }' <<<"$edges"
  done
fi

# Transitive closure over the folders; a pair that reaches each other is a cycle.
awk '
  { reach[$1 SUBSEP $2] = 1; node[$1]; node[$2] }
  END {
    for (k in node) for (i in node) if ((i SUBSEP k) in reach)
      for (j in node) if ((k SUBSEP j) in reach) reach[i SUBSEP j] = 1
    bad = 0
    for (i in node) for (j in node)
      if (i < j && ((i SUBSEP j) in reach) && ((j SUBSEP i) in reach)) {
        printf "include cycle: %s and %s include each other (directly or through others)\n", i, j
        bad = 1
      }
    exit bad
  }' <<<"$edges"
