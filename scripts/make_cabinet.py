#!/usr/bin/python3
"""Builds the device cabinet: an uncompressed Microsoft Cabinet of our own content, same bytes every build.

Usage: make_cabinet.py OUTPUT.CAB SIZE
The content files are generated from a fixed seed and dated 2026-01-01, and the
last one is sized so that the cabinet comes out at exactly SIZE bytes.
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

BLOCK = 32768
FIXED_TIME = 1767225600  # 2026-01-01 00:00:00 UTC


def device_files():
    """The device-side installation: a setup record, the program, its icon and its data."""
    rng = random.Random(0x2E7)
    setup = (b"ZTL device setup\r\nAppName=Zentrobel\r\nDir=%CE1%\\Zentrobel\r\n"
             b"Files=ztl.exe,ztl.ico,ztl.dat\r\nShortcut=%CE11%\\Zentrobel.lnk,ztl.exe\r\n")
    program = b"MZ" + bytes(rng.getrandbits(8) for _ in range(48 * 1024 - 2))
    icon = bytes(rng.getrandbits(8) for _ in range(766))
    return [("ZTL.000", setup), ("ztl.exe", program), ("ztl.ico", icon)], ("ztl.dat", rng)


def cabinet_size(names, content_bytes):
    entries = sum(16 + len(n) + 1 for n in names)
    blocks = -(-content_bytes // BLOCK)
    return 36 + 8 + entries + 8 * blocks + content_bytes


def data_size_for(target, names, fixed_bytes):
    low, high = 0, target
    while low < high:  # the cabinet's size grows with its content, so search for the fit
        mid = (low + high) // 2
        if cabinet_size(names, fixed_bytes + mid) < target:
            low = mid + 1
        else:
            high = mid
    if cabinet_size(names, fixed_bytes + low) != target:
        sys.exit(f"no content size gives a cabinet of exactly {target} bytes")
    return low


def main():
    output, target = sys.argv[1], int(sys.argv[2])
    files, (data_name, rng) = device_files()
    names = [n for n, _ in files] + [data_name]
    data_size = data_size_for(target, names, sum(len(c) for _, c in files))
    # Level data: repeating records so the cabinet is large but cheap to make.
    record = bytes(rng.getrandbits(8) for _ in range(4096))
    data = (record * (data_size // len(record) + 1))[:data_size]
    files.append((data_name, data))

    with tempfile.TemporaryDirectory() as work:
        paths = []
        for name, content in files:
            path = os.path.join(work, name)
            with open(path, "wb") as f:
                f.write(content)
            os.utime(path, (FIXED_TIME, FIXED_TIME))
            paths.append(path)
        env = dict(os.environ, TZ="UTC")
        subprocess.run(["gcab", "--create", "--nopath", output] + paths, check=True, env=env)

    with open(output, "rb") as f:
        header = f.read(12)
    size = os.path.getsize(output)
    if header[:4] != b"MSCF" or struct.unpack_from("<I", header, 8)[0] != size or size != target:
        sys.exit(f"{output}: cabinet came out at {size} bytes, wanted {target}")


if __name__ == "__main__":
    main()
