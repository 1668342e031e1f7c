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


def bmp24(width, height, seed, top_down=False, off_bits=54):
    """A 24-bit BMP of noise; its rows start at off_bits (the gap is not written)."""
    stride = (width * 3 + 3) & ~3
    rng = random.Random(seed)
    pixels = bytes(rng.getrandbits(8) for _ in range(stride * height))
    head = b"BM" + struct.pack("<IHHI", 0, 0, 0, off_bits)
    info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, 24, 0,
                       0, 2835, 2835, 0, 0)
    return head + info, pixels


def write_sparse(path, head, pixels, off_bits=0):
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
    far = 1 << 30
    write_sparse(f"{work}/topdown.bmp", *bmp24(300, 200, 1, top_down=True, off_bits=far), far)
    rle_head = b"BM" + struct.pack("<IHHI", 0, 0, 0, far) + struct.pack(
        "<IiiHHIIiiII", 40, 300, 200, 1, 8, 1, 0, 0, 0, 2, 0) + bytes(8)
    write_sparse(f"{work}/rle.bmp", rle_head, bytes([0, 1]), far)
    bf_head = b"BM" + struct.pack("<IHHI", 0, 0, 0, far) + struct.pack(
        "<IiiHHIIiiII", 40, 300, 200, 1, 32, 3, 0, 0, 0, 0, 0) + struct.pack(
            "<III", 0xFF000000, 0xFF0000, 0xFF00)
    write_sparse(f"{work}/bitfields.bmp", bf_head, bytes(300 * 200 * 4), far)
    os.makedirs(f"{work}/template")
    write_sparse(f"{work}/template/main.bmp", *bmp24(275, 116, 2, top_down=True, off_bits=far), far)
    write_sparse(f"{work}/photo.bmp", *bmp24(400, 380, 3))
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
