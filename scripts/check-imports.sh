#!/usr/bin/env bash
# Checks that an executable can start on Windows XP SP3: its PE header asks
# for no newer system, and every function it imports is in the reviewed list
# with a version no newer than XP SP3, and the list names nothing the
# executable does not import (an entry nobody needs would let a later import
# of it pass unreviewed). Windows refuses to start a program
# whose import table names a function the system lacks, and Wine has every
# function, so only this check can see it.
# usage: check-imports.sh <exe> [list]   (list: tests/package/imports.txt)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$1
list=${2:-$here/../tests/package/imports.txt}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

dump=$("$objdump" -p "$exe")

# Functions that XP lacks, refused even when listed: the loader's search
# flags, Vista's locks and one-time initialisation, fibre-local storage,
# the 64-bit tick count, newer file, link and registry calls, and locale
# names (XP knows locales by LCID only).
denied='^(GetTickCount64|SetDefaultDllDirectories|AddDllDirectory|RemoveDllDirectory'
denied+='|(Initialize|Acquire|Release|TryAcquire)SRWLock(Exclusive|Shared)?'
denied+='|(Initialize|Sleep|Wake|WakeAll)ConditionVariable(CS|SRW)?'
denied+='|InitOnce[A-Za-z]*|Fls(Alloc|Free|GetValue|SetValue)'
denied+='|GetFinalPathNameByHandle[AW]?|CreateSymbolicLink(Transacted)?[AW]?'
denied+='|RegGetValue[AW]?|RegLoadAppKey[AW]?|RegDeleteKeyEx[AW]?|RegDeleteTree[AW]?|RegSetKeyValue[AW]?|RegDeleteKeyValue[AW]?'
denied+='|LocaleNameToLCID|LCIDToLocaleName|[A-Za-z]*LocaleName[A-Za-z]*|GetLocaleInfoEx|EnumSystemLocalesEx'
denied+='|CompareStringEx|LCMapStringEx|Get(Date|Time|Number|Currency)FormatEx|GetUserPreferredUILanguages'
denied+='|K32[A-Za-z]+|GetSystemTimePreciseAsFileTime|Create(Event|Mutex|Semaphore)Ex[AW]?'
denied+='|Wow64(Disable|Revert)Wow64FsRedirection|QueryFullProcessImageName[AW]?|GetErrorMode|CancelIoEx)$'

# Versions that XP SP3 has; any other version in the list is refused.
floor='^(95|98|NT 3\.1|NT 3\.51|NT 4\.0|2000|XP|XP SP1|XP SP2|XP SP3)$'

failed=0
complain() { echo "$*"; failed=1; }

# PE header: the loader refuses a program that asks for a newer system.
for field in MajorOSystemVersion MinorOSystemVersion MajorSubsystemVersion MinorSubsystemVersion; do
  value=$(awk -v f="$field" '$1 == f {print $2}' <<<"$dump")
  declare "$field=${value:-?}"
done
version_ok() { [ "$1" -lt 5 ] || { [ "$1" -eq 5 ] && [ "$2" -le 1 ]; }; }
version_ok "$MajorOSystemVersion" "$MinorOSystemVersion" ||
  complain "PE header: OS version $MajorOSystemVersion.$MinorOSystemVersion is above 5.1 (XP)"
version_ok "$MajorSubsystemVersion" "$MinorSubsystemVersion" ||
  complain "PE header: subsystem version $MajorSubsystemVersion.$MinorSubsystemVersion is above 5.1 (XP)"

# DLL!Function per import; imports by ordinal become DLL!#ordinal.
imports=$(awk '
  /^\tDLL Name: / { dll = toupper($3); next }
  /^$/ { dll = "" }
  dll && /^\t[0-9a-f]+\t/ {
    n = split($0, f, /[ \t]+/)
    if (n >= 4 && f[4] != "<none>") print dll "!" f[4]; else print dll "!#" f[3]
  }' <<<"$dump" | sort -u)
[ -n "$imports" ] || complain "no imports found in $exe"

declare -A listed
while IFS= read -r line; do
  line=${line%%#*}
  [[ "$line" =~ ^[[:space:]]*$ ]] && continue
  if ! [[ "$line" =~ ^([^[:space:]]+![^[:space:]]+)[[:space:]]+(.*[^[:space:]])[[:space:]]*$ ]]; then
    complain "imports list: malformed line: $line"; continue
  fi
  entry=${BASH_REMATCH[1]} version=${BASH_REMATCH[2]}
  listed[$entry]=$version
  [[ "$version" =~ $floor ]] || complain "imports list: $entry needs Windows $version, newer than XP SP3"
  [[ "${entry#*!}" =~ $denied ]] && complain "imports list: $entry is newer than XP SP3 and may not be listed"
done < <(tr -d '\r' <"$list")

count=0
while IFS= read -r import; do
  [ -n "$import" ] || continue
  count=$((count + 1))
  name=${import#*!}
  if [[ "$name" =~ $denied ]]; then
    complain "import $import: not on Windows XP SP3; look it up at run time instead"
  elif [ -z "${listed[$import]+set}" ]; then
    complain "import $import: not in $(basename "$list"); add it with its first Windows version once checked"
  fi
done <<<"$imports"

declare -A imported
while IFS= read -r import; do
  [ -n "$import" ] && imported[$import]=1
done <<<"$imports"
stale=0
while IFS= read -r entry; do
  [ -z "$entry" ] || [ -n "${imported[$entry]+set}" ] && continue
  echo "imports list: $entry is not imported by $(basename "$exe"); remove it from $(basename "$list")"
  stale=1
done < <(printf '%s\n' "${!listed[@]}" | sort)

if [ $failed -ne 0 ]; then
  echo "$(basename "$exe"): would not start on Windows XP SP3"
  exit 1
fi
if [ $stale -ne 0 ]; then
  echo "$(basename "$list"): lists imports $(basename "$exe") does not have"
  exit 1
fi
echo "$(basename "$exe"): PE versions $MajorOSystemVersion.$MinorOSystemVersion/$MajorSubsystemVersion.$MinorSubsystemVersion, $count imports, all listed for XP SP3 or older"
