#!/usr/bin/env bash
# Builds the installer, signed, and checks the signatures of the program,
# the setup program, the uninstaller it writes and the MSI package; installs
# it silently into a scratch Wine prefix,
# checks that the MSI package refuses to install beside it, starts the
# installed program, checks that the uninstaller refuses while the program
# runs, uninstalls, and checks that nothing is left but the journal.
# usage: installer_test.sh <win build dir>
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "$1" && pwd)
name=installer-test
source "$root/tests/package/packed_in_scratch.sh"

wine "$work/out/Varnhold-1.5-setup.exe" /S
wineserver -w
dir="$WINEPREFIX/drive_c/Program Files (x86)/Varnhold"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Varnhold"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnhold'
source_key='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Varnhold'
[ -f "$dir/varnhold.exe" ] || fail "varnhold.exe not installed"
ls "$dir"/DLan_*.ini >/dev/null || fail "language files not installed"
[ -f "$menu/Varnhold.lnk" ] || fail "no Start-menu entry"
wine reg query "$key" /reg:32 >/dev/null 2>&1 || fail "no uninstall entry"
wine reg query "$source_key" /v EventMessageFile >/dev/null 2>&1 || fail "no event source"

# Each signed file verifies, names the company and the product of the
# version resource as its publisher and program, and fails to verify once
# one byte of it is altered.
version_value() { sed -n "s/^ *VALUE \"$1\", \"\(.*\)\"/\1/p" "$root/res/varnhold.rc"; }
company=$(version_value CompanyName)
verify() { osslsigncode verify -CAfile "$work/cert/release.pem" -in "$1" 2>&1; }
for file in "$work/out/Varnhold-1.5/varnhold.exe" "$dir/uninstall.exe" "$work/out/Varnhold-1.5-setup.exe" \
    "$work/out/Varnhold-1.5.msi"; do
  what=$(basename "$file")
  report=$(verify "$file") || fail "$what does not verify: $report"
  grep -E 'Subject|description|verification' <<<"$report" | sort -u | sed "s|^[[:space:]]*|$what: |"
  grep -qx "[[:space:]]*Subject: /O=$company/CN=$company" <<<"$report" || fail "$what is not signed by $company"
  grep -qx "[[:space:]]*Text description: $(version_value ProductName)" <<<"$report" || fail "$what names no product"
  cp "$file" "$work/altered"
  at=$(($(stat -c %s "$file") / 2))
  byte=$(od -An -tu1 -j"$at" -N1 "$file")
  printf "\\$(printf %03o $(((byte + 1) % 256)))" | dd of="$work/altered" bs=1 seek="$at" conv=notrunc status=none
  if report=$(verify "$work/altered"); then fail "$what still verifies with byte $at altered"; fi
  grep -Eq '(message digest|DigitalSignature) *:.*MISMATCH' <<<"$report" || fail "altered $what: $report"
done
# The signature leaves the image's own checks as they were.
bash "$root/scripts/check-exe.sh" "$work/out/Varnhold-1.5/varnhold.exe" || fail "the signed program fails its check"
bash "$root/scripts/check-imports.sh" "$work/out/Varnhold-1.5/varnhold.exe" || fail "the signed program fails the import check"
# A certificate issued to another name is refused: the publisher Windows
# shows would not be the company the program names.
certificate "$work/cert/other.p12" "/O=Someone Else/CN=$company"
if VH_SIGN_PKCS12="$work/cert/other.p12" bash "$root/scripts/sign.sh" "$work/altered" 2>/dev/null; then
  fail "signed with a certificate issued to another organisation"
fi

# The MSI package refuses to install beside it, saying why, and adds nothing.
set +e
wine msiexec /i "$work/out/Varnhold-1.5.msi" /qn
code=$?
set -e
wineserver -w
[ "$code" != 0 ] || fail "the MSI package installed beside the NSIS installation"
# Wine's msi logs no launch condition's message; Windows shows it (and
# writes it into the log): the package must hold it.
msiinfo export "$work/out/Varnhold-1.5.msi" LaunchCondition | grep -q 'NOT NSISINSTALLED.*setup program (NSIS)' ||
  fail "the MSI package holds no refusal beside the NSIS installation"
if wine reg query 'HKLM\Software\Classes\Installer\Products' /s /reg:32 2>/dev/null | grep -q 'varnhold\.ico'; then
  fail "the refused MSI package registered a product"
fi

# The installed program runs: an unattended scan without a report path
# analyses and ends by itself.
wine "$dir/varnhold.exe" /Scan || fail "the installed program did not end cleanly"
wineserver -w

# While the program runs its uninstaller refuses (exit code 4) and removes
# nothing. "_?=" keeps the uninstaller in place, so that its exit code
# reaches the caller; it takes the rest of the command line unquoted, which
# only a batch file passes on as written.
printf '@"C:\\Program Files (x86)\\Varnhold\\uninstall.exe" /S _?=C:\\Program Files (x86)\\Varnhold\r\n@exit /b %%ERRORLEVEL%%\r\n' \
  >"$WINEPREFIX/drive_c/uninstall-in-place.bat"
program_window "$dir/varnhold.exe"
set +e
timeout 120 wine cmd /c 'C:\uninstall-in-place.bat'
code=$?
set -e
[ "$code" = 4 ] || fail "the uninstaller, while the program runs, ended with $code"
[ -f "$dir/varnhold.exe" ] && ls "$dir"/DLan_*.ini >/dev/null || fail "the refused uninstaller removed files"
wine reg query "$key" /reg:32 >/dev/null 2>&1 || fail "the refused uninstaller removed the uninstall entry"
close_program

printf '[Defragmentation]\r\n' >"$dir/varnhold-journal.txt"
wine "$dir/uninstall.exe" /S
wineserver -w
[ "$(ls -A "$dir")" = "varnhold-journal.txt" ] || fail "left behind besides the journal: $(ls -A "$dir")"
[ ! -e "$menu" ] || fail "Start-menu folder left behind"
if wine reg query "$key" /reg:32 >/dev/null 2>&1; then fail "uninstall entry left behind"; fi
if wine reg query "$source_key" >/dev/null 2>&1; then fail "event source left behind"; fi
echo "$name: installed, the MSI refused beside it, ran, its uninstaller refused while it ran, uninstalled, nothing left but the journal"
