#!/usr/bin/python3
"""korvane-make under faults that a user's machine produces: a process killed in the middle
of writing, pictures whose pixels lie a gigabyte into a sparse file, and pipes given as
files. Every output must be whole (old or new), memory bounded, and no open may hang.
    tests/e2e/fault_test.py path/to/korvane-make"""
import os
import random
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

MAKE = sys.argv[1]
failures = []


def check(name, ok):
    if not ok:
        failures.append(name)
        print("FAIL:", name, file=sys.stderr)


def bmp_head(width, height, bits, compression=0, off_bits=54, colors=0):
    return b"BM" + struct.pack("<IHHI", 0, 0, 0, off_bits) + struct.pack(
        "<IiiHHIIiiII", 40, width, height, 1, bits, compression, 0, 2835, 2835, colors, 0)


def write_sparse(path, head, pixels, off_bits=0):
    """Writes the header, then the pixels at off_bits: the gap is never written."""
    with open(path, "wb") as f:
        f.write(head)
        f.seek(off_bits or len(head))
        f.write(pixels)


def run(args, timeout=30):
    """Runs korvane-make; returns exit status, stderr, peak memory in MB and seconds."""
    start = time.monotonic()
    child = subprocess.Popen([MAKE] + args, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    timer = threading.Timer(timeout, child.kill)  # a hang fails the check, not the run
    timer.start()
    err = child.stderr.read().decode()
    _, status, usage = os.wait4(child.pid, 0)
    timer.cancel()
    return os.waitstatus_to_exitcode(status), err, usage.ru_maxrss / 1024, time.monotonic() - start


work = tempfile.mkdtemp()
try:
    # Pixels a gigabyte into a sparse file, for each kind of file whose rows are not simply
    # copied: top-down rows, an RLE8 stream, 32-bit bitfields; and as a template piece.
    far, rng = 1 << 30, random.Random(1)
    os.makedirs(f"{work}/template")
    for name, head, pixels in (
            ("topdown.bmp", bmp_head(300, -200, 24, 0, far), rng.randbytes(900 * 200)),
            ("rle.bmp", bmp_head(300, 200, 8, 1, far, 2) + bytes(8), bytes([0, 1])),
            ("bitfields.bmp", bmp_head(300, 200, 32, 3, far)
             + struct.pack("<III", 0xFF000000, 0xFF0000, 0xFF00), bytes(300 * 200 * 4)),
            ("template/main.bmp", bmp_head(275, -116, 24, 0, far), rng.randbytes(828 * 116))):
        write_sparse(f"{work}/{name}", head, pixels, far)
    write_sparse(f"{work}/photo.bmp", bmp_head(400, 380, 24), rng.randbytes(1200 * 380))
    for args in (["topdown.bmp"], ["rle.bmp", "--convert"], ["bitfields.bmp", "--convert"],
                 ["photo.bmp", "--template", f"{work}/template"]):
        status, err, peak, _ = run([f"{work}/{args[0]}", f"{work}/sparse"] + args[1:])
        check(f"sparse {args}: made a skin ({err.strip()}) in {peak:.0f} MB of the 64 allowed",
              status == 0 and not err and peak < 64)

    # A pipe as the picture or as a template piece is refused at once, not waited on.
    os.makedirs(f"{work}/piped")
    os.mkfifo(f"{work}/pipe.bmp"), os.mkfifo(f"{work}/piped/button.bmp")
    status, err, _, seconds = run([f"{work}/pipe.bmp", f"{work}/o"], timeout=5)
    check(f"pipe picture refused in {seconds:.2f} s ({err.strip()})",
          status == 3 and f"{work}/pipe.bmp: a pipe, not a file" in err and seconds < 1)
    status, err, _, seconds = run([f"{work}/photo.bmp", f"{work}/o", "--template",
                                   f"{work}/piped"], timeout=5)
    check(f"pipe piece passed over in {seconds:.2f} s ({err.strip()})",
          status == 0 and "button.bmp: a pipe, not a file" in err and seconds < 1)

    # Killed at a random moment, 200 times: each output is the old file or the new one,
    # never a mixture or a truncated file.
    def outputs(folder):
        files = {name: open(f"{folder}/{name}", "rb").read() for name in os.listdir(folder)
                 if not name.startswith("~kv")}
        files["archive"] = open(f"{folder}.wsz", "rb").read()
        files["preview"] = open(f"{folder}-preview.bmp", "rb").read()
        return files

    def make(title, folder):
        return [f"{work}/photo.bmp", folder, "--title", title, "--wsz", f"{folder}.wsz",
                "--preview", f"{folder}-preview.bmp"]

    for title in ("old", "new"):
        assert run(make(title, f"{work}/{title}"))[0] == 0
    old, new = outputs(f"{work}/old"), outputs(f"{work}/new")
    check("old and new differ in every bitmap that holds the title",
          old["main.bmp"] != new["main.bmp"] and old["archive"] != new["archive"])
    start = time.monotonic()
    run(make("new", f"{work}/new"))
    span = time.monotonic() - start
    seen = set()
    rng, target = random.Random(9), f"{work}/skin"
    for attempt in range(200):
        shutil.rmtree(target, ignore_errors=True)
        shutil.copytree(f"{work}/old", target)
        shutil.copy(f"{work}/old.wsz", f"{target}.wsz")
        shutil.copy(f"{work}/old-preview.bmp", f"{target}-preview.bmp")
        child = subprocess.Popen([MAKE] + make("new", target), stderr=subprocess.DEVNULL)
        time.sleep(rng.uniform(0, span * 1.2))
        child.send_signal(signal.SIGKILL)
        child.wait()
        for name, content in outputs(target).items():
            whole = {"old": content == old[name], "new": content == new[name]}
            seen.update(k for k, v in whole.items() if v)
            check(f"kill {attempt}: {name} is whole, old or new", any(whole.values()))
    check(f"kills met both old and new files ({sorted(seen)})", seen == {"old", "new"})
finally:
    shutil.rmtree(work, ignore_errors=True)

print(f"{len(failures)} failed")
sys.exit(1 if failures else 0)
