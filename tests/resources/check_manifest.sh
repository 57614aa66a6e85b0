#!/usr/bin/env bash
# The Windows program carries exactly one manifest, and it holds what Windows reads at its start:
# the player's own rights, Windows 10 and 11 as tested, the DPI awareness Qt asks for, Common
# Controls 6, and no code page of its own.
# Usage: check_manifest.sh PROGRAM.exe
set -euo pipefail
command -v wrestool >/dev/null || { echo "SKIP: wrestool (Debian package icoutils) is missing"; exit 77; }

listing=$(wrestool -l --type=24 "$1")
[ -n "$listing" ] && [ "$(wc -l <<<"$listing")" -eq 1 ] ||
  { echo "FAIL: the program should hold one manifest, and holds: ${listing:-none}"; exit 1; }
wrestool -x --raw --type=24 "$1" | python3 -c '
import sys, xml.etree.ElementTree as tree
root = tree.fromstring(sys.stdin.buffer.read())
found = {element.tag.split("}")[-1]: element for element in root.iter()}
checks = {
    "asInvoker": found["requestedExecutionLevel"].get("level") == "asInvoker",
    "Windows 10 and 11": [os.get("Id") for os in root.iter() if os.tag.endswith("supportedOS")]
                         == ["{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"],
    "per-monitor v2": found["dpiAwareness"].text.strip() == "PerMonitorV2",
    "Common Controls 6": any(a.get("name") == "Microsoft.Windows.Common-Controls"
                             and a.get("version") == "6.0.0.0"
                             for a in root.iter() if a.tag.endswith("assemblyIdentity")),
    "no code page": "activeCodePage" not in found,
}
failed = [name for name, ok in checks.items() if not ok]
print("manifest:", ", ".join(checks), "" if not failed else "; FAILED: " + ", ".join(failed))
sys.exit(1 if failed else 0)
'
