#!/usr/bin/env python3
"""Qt 6's plugin metadata, as C initialiser bytes for planted_library.c's QT_METADATA: its magic,
a header (version 1, Qt 6.4, x86-64 baseline, release), and a CBOR map of the interface, the
class and the keys.
Usage: qt_plugin_metadata.py INTERFACE KEY..."""
import sys


def text(s):
    b = s.encode()
    return (bytes([0x60 + len(b)]) if len(b) < 24 else bytes([0x78, len(b)])) + b


iid, *keys = sys.argv[1:]
cbor = (b"\xa3\x02" + text(iid) + b"\x03" + text("Marker")
        + b"\x04\xa1" + text("Keys") + bytes([0x80 + len(keys)]) + b"".join(map(text, keys)))
print(",".join(str(b) for b in b"QTMETADATA !" + bytes([1, 6, 4, 1]) + cbor))
