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
import argparse, gzip, io, os, struct, subprocess, sys, tarfile, time, zipfile


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


def mode(executable):
    return 0o755 if executable else 0o644


def settled_chm(data, epoch):
    """The CHM file with the source's time where the compiler recorded the time it ran."""
    # The compiler records the millisecond of the day it ran: in the header, big-endian, and as
    # entry 10 of the #SYSTEM file, whose place the directory gives (it is never compressed).
    day_ms = epoch % 86400 * 1000
    data = bytearray(data)
    data[16:20] = struct.pack(">I", day_ms)
    at = data.index(b"/#SYSTEM") + len(b"/#SYSTEM")
    section0 = struct.unpack_from("<Q", data, 88)[0]

    def number():  # the directory's variable-length numbers: 7 bits a byte, high bit "more"
        nonlocal at
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
    return bytes(data)


def settled_zip(data, epoch):
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
    return out.getvalue()


def settled_tar_gz(data, epoch):
    source = tarfile.open(fileobj=io.BytesIO(data))
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.GNU_FORMAT) as target:
        for member in sorted(source.getmembers(), key=lambda m: m.name):
            content = source.extractfile(member) if member.isfile() else None
            member.mtime, member.uid, member.gid, member.uname, member.gname = epoch, 0, 0, "", ""
            member.mode = mode(member.mode & 0o100 or member.isdir())
            target.addfile(member, content)
    return gzip.compress(out.getvalue(), compresslevel=9, mtime=0)


def main():
    parser = argparse.ArgumentParser(
        description=__doc__.splitlines()[0],
        epilog="\n".join(__doc__.splitlines()[1:]),
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("command", choices=["epoch", "archive", "chm", "stamp"])
    parser.add_argument("file", nargs="?", help="the file to settle (all but epoch)")
    arguments = parser.parse_args()
    epoch = source_time()
    if arguments.command == "epoch":
        print(epoch)
        return 0
    if not arguments.file:
        parser.error(f"{arguments.command} needs a FILE")
    path = arguments.file
    original = open(path, "rb").read() if os.path.exists(path) else None
    if arguments.command == "stamp":
        data = f"{epoch}\n".encode()
    elif original is None:
        parser.error(f"{path}: no such file")
    elif arguments.command == "chm":
        data = settled_chm(original, epoch)
    elif path.endswith(".zip"):
        data = settled_zip(original, epoch)
    elif path.endswith(".tar.gz"):
        data = settled_tar_gz(original, epoch)
    else:
        parser.error(f"{path}: not a .zip or .tar.gz")
    if data != original:  # a file left as it was keeps its time: nothing that depends on it rebuilds
        open(path, "wb").write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
