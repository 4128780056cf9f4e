#!/usr/bin/env bash
# Fails on any include that runs against the layer table of
# docs/ARCHITECTURE.md, naming the file and the line.
# usage: layers_test.sh <source root> [git revision]
# With a revision the files are read from that commit (git grep), to count
# the includes an older tree had against today's table.
set -uo pipefail
root=${1:-.}
rev=${2:-}
cd "$root" || exit 2
table=docs/ARCHITECTURE.md
[ -f "$table" ] || { echo "layers: $table is missing"; exit 2; }

# "folder allowed1 allowed2 ..." per table row; "every folder above" allows
# every folder listed before it.
rules=$(awk -F'|' '
  /^\| `[a-z]+\/` \|/ {
    folder = $2; gsub(/[ `\/]/, "", folder)
    allowed = ""
    if ($4 ~ /every folder above/) allowed = seen
    else { s = $4; while (match(s, /`[a-z]+\//)) { allowed = allowed " " substr(s, RSTART + 1, RLENGTH - 2); s = substr(s, RSTART + RLENGTH) } }
    print folder allowed
    seen = seen " " folder
  }' "$table")
[ -n "$rules" ] || { echo "layers: no layer table in $table"; exit 2; }
folders=$(echo "$rules" | awk '{print $1}' | tr '\n' ' ')

list_includes() {
  local globs=()
  for f in $folders; do globs+=("$f/*.h" "$f/*.cpp"); done
  if [ -n "$rev" ]; then
    git grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' "$rev" -- "${globs[@]}" | sed "s/^$rev://"
  else
    git ls-files -co --exclude-standard -- "${globs[@]}" | xargs -r grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"'
  fi
}

violations=$(list_includes | awk -v rules="$rules" '
  BEGIN {
    n = split(rules, lines, "\n")
    for (i = 1; i <= n; i++) { k = split(lines[i], w, " "); known[w[1]] = 1; for (j = 2; j <= k; j++) ok[w[1], w[j]] = 1 }
  }
  {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2); line = rest; sub(/:.*/, "", line)
    if (!match(rest, /"[^"]+"/)) next
    target = substr(rest, RSTART + 1, RLENGTH - 2)
    split(file, a, "/"); from = a[1]
    if (index(target, "/") == 0) next
    split(target, b, "/"); to = b[1]
    if (to == from || !(to in known)) next
    if (!((from, to) in ok)) printf "%s:%s: %s/ includes \"%s\", which %s/ may not include\n", file, line, from, target, from
  }')
if [ -n "$violations" ]; then
  echo "$violations"
  echo "layers: $(echo "$violations" | wc -l) include(s) against the table in $table"
  exit 1
fi
echo "layers: every include follows $table"
