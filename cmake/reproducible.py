#!/usr/bin/env python3
"""Makes a built file the same bytes whenever it is built from the same source.

  reproducible.py epoch          prints the source's time: SOURCE_DATE_EPOCH where it is set,
                                 else the time of the git commit, else the newest file's time
                                 (in an unpacked source archive, the commit's time again)
  reproducible.py archive FILE   rewrites a .zip or .tar.gz: entries in name order, every time
                                 stamp the source's time, modes 644 or 755, no owner
  reproducible.py chm FILE       sets the build time that a CHM file records to the source's time
  reproducible.py stamp FILE     writes the source's time to FILE, where it differs
"""
import gzip, io, os, struct, subprocess, sys, tarfile, time, zipfile


def source_time():
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    top = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    git = subprocess.run(["git", "-C", top, "log", "-1", "--format=%ct"], capture_output=True,
                         text=True) if os.path.isdir(os.path.join(top, ".git")) else None
    if git and git.returncode == 0:
        return int(git.stdout)
    newest = 0
    for folder, folders, names in os.walk(top):
        if folder == top:  # builds are not source
            folders[:] = [name for name in folders if name not in ("build", ".git")]
        for name in names:
            newest = max(newest, int(os.stat(os.path.join(folder, name)).st_mtime))
    return newest


epoch = source_time()
command = sys.argv[1]
if command == "epoch":
    sys.exit(print(epoch))
path = sys.argv[2]
original = data = open(path, "rb").read() if os.path.exists(path) else None


def mode(executable):
    return 0o755 if executable else 0o644


if command == "stamp":
    data = f"{epoch}\n".encode()
elif command == "chm":
    # The compiler records the millisecond of the day it ran: in the header, big-endian, and as
    # entry 10 of the #SYSTEM file, whose place the directory gives (it is never compressed).
    day_ms = epoch % 86400 * 1000
    data = bytearray(data)
    data[16:20] = struct.pack(">I", day_ms)
    at = data.index(b"/#SYSTEM") + len(b"/#SYSTEM")
    section0 = struct.unpack_from("<Q", data, 88)[0]

    def number():  # the directory's variable-length numbers: 7 bits a byte, high bit "more"
        global at
        value = 0
        while True:
            value, at = value << 7 | data[at] & 0x7F, at + 1
            if not data[at - 1] & 0x80:
                return value

    number()  # the content section, 0
    entry = section0 + number() + 4  # past the file's version
    end = entry - 4 + number()
    while entry < end:
        code, length = struct.unpack_from("<HH", data, entry)
        if code == 10:
            struct.pack_into("<I", data, entry + 4, day_ms)
        entry += 4 + length
    data = bytes(data)
elif path.endswith(".zip"):
    source = zipfile.ZipFile(io.BytesIO(data))
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as target:
        for entry in sorted(source.infolist(), key=lambda e: e.filename):
            if entry.is_dir():
                continue  # unpacking makes the folders that the files need
            info = zipfile.ZipInfo(entry.filename, time.gmtime(epoch)[:6])
            info.create_system = 3  # Unix, so that the mode below is read
            info.external_attr = mode(entry.external_attr >> 16 & 0o100) << 16 | 0x8000 << 16
            info.extra = b"UT\x05\x00\x01" + struct.pack("<I", epoch)  # the time in UTC too
            info.compress_type = zipfile.ZIP_DEFLATED
            target.writestr(info, source.read(entry), compresslevel=9)
    data = out.getvalue()
elif path.endswith(".tar.gz"):
    source = tarfile.open(fileobj=io.BytesIO(data))
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.GNU_FORMAT) as target:
        for member in sorted(source.getmembers(), key=lambda m: m.name):
            content = source.extractfile(member) if member.isfile() else None
            member.mtime, member.uid, member.gid, member.uname, member.gname = epoch, 0, 0, "", ""
            member.mode = mode(member.mode & 0o100 or member.isdir())
            target.addfile(member, content)
    data = gzip.compress(out.getvalue(), compresslevel=9, mtime=0)
else:
    sys.exit(f"{path}: not a .zip or .tar.gz")
if data != original:  # a file left as it was keeps its time: nothing that depends on it rebuilds
    open(path, "wb").write(data)
