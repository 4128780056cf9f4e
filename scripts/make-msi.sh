#!/usr/bin/env bash
# Builds the MSI package from staged files with wixl (msitools).
# usage: make-msi.sh <staged files> <version, as 1.5.0> <out.msi>
# The stage holds varnhold.exe, varnhold.ico, varnhold_msi.dll (the
# package's custom action), README.txt, LICENSE.txt and the DLan_*.ini
# language files.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
stage=$(cd "$1" && pwd)
version=$2
mkdir -p "$(dirname "$3")"
out="$(cd "$(dirname "$3")" && pwd)/$(basename "$3")"
rm -f "$out"

# The language files, listed for the package's Languages component.
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Include>'
  for f in "$stage"/DLan_*.ini; do
    n=$(basename "$f")
    echo "  <File Id=\"$n\" Name=\"$n\" Source=\"\$(var.SourceDir)/$n\"/>"
  done
  echo '</Include>'
} >"$stage/languages.wxi"

# One product code per version, made from the upgrade code and the version:
# the same release built twice is the same product, never a second entry in
# Add/Remove Programs, and a detection rule holds for the whole release.
product_code=$(python3 -c 'import sys, uuid
print(str(uuid.uuid5(uuid.UUID("C6ADADD0-AE29-41AC-A88D-98C8490ADA82"), "Varnhold " + sys.argv[1])).upper())' "$version")

# wixl resolves the sources against the folder it runs in.
(cd "$stage" && wixl -a x86 -D Version="$version" -D ProductCode="$product_code" -D SourceDir=. -o "$out" \
  "$root/res/installer/varnhold.wxs")
rm "$stage/languages.wxi"

# What wixl has no element for. At uninstall the Start-menu folder goes, and
# so do the settings and the log the program wrote, but never the journal
# (varnhold-journal.txt): it records what was done to the registry, and
# recovering from that needs it. The event source's key goes whole, whatever
# else was put into it.
sql() { msibuild "$out" -q "$1"; }
# wixl writes an expandable value as a plain string: "#%" makes it REG_EXPAND_SZ,
# the type the event log documents for EventMessageFile.
sql "UPDATE \`Registry\` SET \`Value\` = '#%[#varnhold.exe]' WHERE \`Name\` = 'EventMessageFile'"
sql "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`DirProperty\`, \`InstallMode\`) VALUES ('RemoveStartMenuFolder', 'Program', 'ProgramMenuDir', 2)"
for file in options.ini varnhold.log; do
  sql "INSERT INTO \`RemoveFile\` (\`FileKey\`, \`Component_\`, \`FileName\`, \`DirProperty\`, \`InstallMode\`) VALUES ('Remove_$file', 'Program', '$file', 'INSTALLDIR', 2)"
done
sql "INSERT INTO \`Registry\` (\`Registry\`, \`Root\`, \`Key\`, \`Name\`, \`Component_\`) VALUES ('RemoveEventSource', 2, 'SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Varnhold', '-', 'Program')"
