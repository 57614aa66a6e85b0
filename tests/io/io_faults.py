#!/usr/bin/env python3
"""Every save and every reading of the data files, failed and killed at each of its system calls.

For each operation of io_fault_driver, one run under strace counts the calls it makes between
its two marks. Then it runs once per call and per fault: that call failing with EIO, failing
with ENOSPC, and the process killed (SIGKILL) at it; and, for a read, write, sync or rename,
every such call failing with EIO from that one on, as a bad sector or a lost disk does. Each run
must end within a time limit, and after it the files must be the old ones or the new ones,
never anything else:
  - a save that says it succeeded left the new bytes, and one whose write, sync or rename failed
    says so; a save that says it failed left the old bytes and nothing beside them;
  - after a kill, the next save succeeds and the files read back as saved;
  - a reading never changes the files, reads them exactly or says it could not (the error box),
    and any copy it keeps aside is a whole one, or the older copy as it was;
  - a failure that is told leaves its reason in the log, and a run that works logs nothing.
The test fails, rather than passing on nothing, when strace refuses its work or an operation
makes no call to fail.
Usage: io_faults.py DRIVER
"""
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile

CALLS = ["openat", "read", "write", "close", "fsync", "fdatasync", "rename", "renameat2",
         "fchmod", "ftruncate", "unlink", "linkat", "statx", "newfstatat"]
# A failure of these, in a save, is a file that may not hold the new bytes: it must be told.
# Not so fdatasync: Qt's commit syncs once more after the launcher's own fsync, which has put
# every byte on the disk by then, and that second sync's result changes nothing. Nor linkat:
# Qt names the finished file beside its target with it, and tries another name when it fails.
MUST_FAIL = {"write", "fsync", "rename", "renameat2"}
FAULTS = ["error=EIO", "error=ENOSPC", "signal=KILL"]
# These fail again at every later call, from the one chosen on ("when=N+").
LASTING = {"read", "write", "fsync", "fdatasync", "rename", "renameat2"}
LASTING_FAULT = "error=EIO+"
# Far more than any run takes; a run that goes on past it is caught in a loop.
SECONDS = 30

OLD = {"appSet": b"C:\\Old\\Dravik2.exe\r\n", "modDta": b"a\r\nold\r\n\"a, b\"\r\n"}
UNREADABLE = {"appSet": b"a\0b\r\n", "modDta": b"ok\r\n\0\r\n",
              "appSet.bak": b"older\r\n", "modDta.bak": b"older\r\n"}
# (what the table calls it, the driver's operation, the files it starts from): one case for
# each way a save or a reading goes. Remove, Add Mods' Close over a list there already, and
# saving the path make the same system calls as Save list.
CASES = [
    ("save the list", "save-list", OLD),
    ("Add Mods' Close, new list", "add-mods-close", {"appSet": OLD["appSet"]}),
    ("start-up reading", "read", OLD),
    ("start-up's copies", "read", UNREADABLE),
]

driver = sys.argv[1]


def lay(folder, files):
    for name, content in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(content)


def files_in(folder):
    found = {}
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as f:
            found[name] = f.read()
    return found


class Stuck(Exception):
    pass


def run(operation, folder, trace, inject=None, log=os.devnull):
    """The driver's status, output and log lines; strace refusing its work ends the test."""
    command = ["strace", "-f", "-qq", "-o", log, "-e", "trace=" + trace]
    if inject:
        command += ["-e", "inject=" + inject]
    # In a session of its own, so that no signal to the test's process group reaches the driver
    # while strace starts it: a SIGHUP there once made strace fail with "Unexpected wait status
    # 0x1" (the kernel sends one to an orphaned group holding a stopped process, as the driver
    # is until strace takes hold of it).
    try:
        done = subprocess.run(command + [driver, operation, folder], capture_output=True,
                              timeout=SECONDS, start_new_session=True)
    except subprocess.TimeoutExpired:
        raise Stuck(f"did not end within {SECONDS} s")
    errors = done.stderr.decode(errors="replace").splitlines()
    refused = [line for line in errors if line.startswith("strace:")]
    if refused or done.returncode == 2:
        raise SystemExit(f"FAIL: {' '.join(command)} {operation}: {refused or errors}")
    return done.returncode, done.stdout, [line for line in errors if line.startswith("kelvor.")]


def count_calls(operation, files):
    """The calls of each kind before the operation, and within it."""
    with tempfile.TemporaryDirectory() as folder, tempfile.NamedTemporaryFile("r") as log:
        lay(folder, files)
        run(operation, folder, ",".join(CALLS + ["access"]), log=log.name)
        lines = log.read().splitlines()
    before, within, phase = {}, {}, "before"
    for line in lines:
        if "io-faults-begin" in line:
            phase = "within"
        elif "io-faults-end" in line:
            phase = "ended"
            break
        match = re.match(r"\d+\s+(\w+)\(", line)
        if match and match.group(1) in CALLS:
            counts = before if phase == "before" else within
            counts[match.group(1)] = counts.get(match.group(1), 0) + 1
    if phase != "ended" or not within:
        raise SystemExit(f"FAIL: {operation}: strace saw no call between the driver's marks")
    return before, within


def clean_result(operation, files):
    with tempfile.TemporaryDirectory() as folder:
        lay(folder, files)
        status, _, _ = run(operation, folder, "none")
        after = files_in(folder)
        read_status, read_out, _ = run("read", folder, "none")
    if status != (1 if files is UNREADABLE else 0):
        raise SystemExit(f"FAIL: {operation}, with no fault, ended with {status}")
    return after, read_status, read_out


def check(name, operation, files, expected, call, nth, fault):
    """One run with one fault; what went wrong, or None."""
    try:
        return check_run(name, operation, files, expected, call, nth, fault)
    except Stuck as stuck:
        return f"{name}: {call} #{nth} {fault}: {stuck}"


def check_run(name, operation, files, expected, call, nth, fault):
    new_files, read_status, read_out = expected
    lasting = fault == LASTING_FAULT
    # A write that keeps failing fails the driver's own output and log lines too.
    mute = lasting and call == "write"
    with tempfile.TemporaryDirectory() as folder:
        lay(folder, files)
        when = f"when={nth}+" if lasting else f"when={nth}"
        status, out, logged = run(operation, folder, call, f"{call}:{fault.rstrip('+')}:{when}")
        after = files_in(folder)
        what = f"{name}: {call} #{nth} {fault}"
        killed = status == -9
        if status == 1 and not killed and call != "write" and not any(
                folder in line for line in logged):
            return f"{what}: a failure told with no reason in the log naming its file"
        if status == 0 and operation != "read" and logged:
            return f"{what}: a save that worked logged {logged}"
        if status not in (0, 1) and not killed:
            return f"{what}: the driver ended with {status}"
        reading = operation == "read"
        data = [n for n in set(files) | set(new_files) if not n.endswith(".bak")]
        for n in data:
            have, old, new = after.get(n), files.get(n), new_files.get(n)
            if have != old and have != new:
                return f"{what}: {n} is neither the old nor the new file: {have!r:.80}"
        if reading:
            for n in data:
                if after.get(n) != files.get(n):
                    return f"{what}: a reading changed {n}"
            for n in data:
                copy = after.get(n + ".bak")
                if copy is not None and copy != files.get(n) and copy != files.get(n + ".bak"):
                    return f"{what}: {n}.bak is no whole copy: {copy!r:.80}"
            if status == 0 and out != read_out and not mute:
                return f"{what}: read {out!r:.80} and said it read it whole"
            if call == "read" and fault != "signal=KILL" and files is OLD and status != 1:
                return f"{what}: a failed read was not told"
            # Reads that keep failing leave nothing to copy from; the copy's failure is logged.
            if status == 1 and files is OLD and not (lasting and call == "read") and not any(
                    after.get(n + ".bak") == files[n] for n in data):
                return f"{what}: an incomplete reading kept no whole copy"
        elif status == 0:
            if after != new_files:
                return f"{what}: said it saved, but the folder holds {sorted(after)}"
            if call in MUST_FAIL and not killed:
                return f"{what}: the failed {call} was not told"
        elif status == 1:
            if after != files:
                return f"{what}: said it failed, but the folder holds {sorted(after)}"
        if killed:
            # The next save, or reading, goes as on a working disk.
            again, _, _ = run(operation, folder, "none")
            if reading:
                again_status, again_out, _ = run("read", folder, "none")
                if again_out != read_out:
                    return f"{what}: after the kill, the next start read {again_out!r:.80}"
            else:
                if again != 0:
                    return f"{what}: after the kill, the next save ended with {again}"
                for n in data:
                    if files_in(folder).get(n) != new_files.get(n):
                        return f"{what}: after the kill and a save, {n} is not the new file"
                again_status, again_out, _ = run("read", folder, "none")
                if (again_status, again_out) != (read_status, read_out):
                    return f"{what}: after the kill and a save, the launcher read {again_out!r:.80}"
    return None


def main():
    if not shutil.which("strace"):
        print("SKIP: strace is not installed")
        return 77
    rows, failures = [], []
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        for name, operation, files in CASES:
            before, within = count_calls(operation, files)
            expected = clean_result(operation, files)
            faults = {fault: [pool.submit(check, name, operation, files, expected, call,
                                          before.get(call, 0) + i, fault)
                              for call, count in within.items() for i in range(1, count + 1)
                              if fault in FAULTS or call in LASTING]
                      for fault in FAULTS + [LASTING_FAULT]}
            once = [job.result() for fault in FAULTS for job in faults[fault]]
            lasting = [job.result() for job in faults[LASTING_FAULT]]
            failures += [f for f in once + lasting if f]
            if not once or not lasting:
                failures.append(f"{name}: no fault was injected")
            calls = ", ".join(f"{call} {count}" for call, count in sorted(within.items()))
            rows.append((name, sum(within.values()), calls, len(once), once.count(None),
                         len(lasting), lasting.count(None)))
    print(f"{'':33} {'once':>17} {'from then on':>17}")
    print(f"{'operation':27} {'calls':>5} {'injected':>8} {'survived':>8} {'injected':>8} "
          f"{'survived':>8}  calls made")
    for name, total, calls, injected, survived, lasting, outlasted in rows:
        print(f"{name:27} {total:5} {injected:8} {survived:8} {lasting:8} {outlasted:8}  {calls}")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
