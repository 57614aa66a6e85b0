#!/usr/bin/env bash
# The Windows program carries exactly one manifest, the one Windows reads before it starts it:
# MANIFEST byte for byte (each entry is explained there), and well-formed XML.
# Usage: check_manifest.sh PROGRAM.exe MANIFEST
set -euo pipefail
command -v wrestool >/dev/null || { echo "SKIP: wrestool (Debian package icoutils) is missing"; exit 77; }

listing=$(wrestool -l --type=24 "$1")
[ -n "$listing" ] && [ "$(wc -l <<<"$listing")" -eq 1 ] ||
  { echo "FAIL: the program should hold one manifest, and holds: ${listing:-none}"; exit 1; }
wrestool -x --raw --type=24 "$1" | cmp - "$2" ||
  { echo "FAIL: the program's manifest is not $2"; exit 1; }
python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$2" ||
  { echo "FAIL: $2 is no well-formed XML"; exit 1; }
echo "manifest: one, $2 byte for byte, well-formed"
