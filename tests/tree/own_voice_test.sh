#!/usr/bin/env bash
# Fails when code, scripts or tests point the reader at another document
# instead of saying what they do themselves.
# usage: own_voice_test.sh <source root>
set -uo pipefail
root=${1:-.}
cd "$root" || exit 2
# Spelled in pieces so that this file does not match itself.
part='Part''s? [0-9]'
patterns=(
  "\\b$part"
  "[Ww]orked ""[Ee]xample"
  "[Ww]orked""[A-Z][a-z]*\\("
  "[Tt]he ""table says"
  "[Aa]s the ""table"
  "[Ii]n ""[Pp]art ""order"
  "\\b[Ss]""pec(s|ification)?\\b"
)
found=0
for p in "${patterns[@]}"; do
  if hits=$(git ls-files -- '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' 'CMakeLists.txt' '*.rc' \
        | grep -v '^tests/tree/own_voice_test.sh$' | xargs -r grep -n -E "$p" 2>/dev/null); then
    echo "$hits"
    found=1
  fi
done
[ "$found" = 0 ] && echo "own voice: no reference to another document"
exit "$found"
