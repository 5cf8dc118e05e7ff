#!/usr/bin/python3
"""How many bytes of an executable are program rather than package.

Prints the file's headers and each section's size in the file, then the
non-resource total (the file size less the resource section) beside the
resource bytes. Exits 1 when the non-resource total is above the limit.

Usage: size_report.py [EXE] [--limit BYTES]   (default build/i686/setup.exe, 16 KiB)
"""
import argparse
import os
import sys

import pefile

IMAGE_DIRECTORY_ENTRY_RESOURCE = 2


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe", nargs="?", default=os.path.join(here, "..", "build", "i686", "setup.exe"))
    parser.add_argument("--limit", type=int, default=16 * 1024, help="most non-resource bytes allowed")
    args = parser.parse_args()

    file_size = os.path.getsize(args.exe)
    pe = pefile.PE(args.exe, fast_load=True)
    resource_rva = pe.OPTIONAL_HEADER.DATA_DIRECTORY[IMAGE_DIRECTORY_ENTRY_RESOURCE].VirtualAddress

    rows = [("headers", pe.OPTIONAL_HEADER.SizeOfHeaders, "")]
    resource_bytes = 0
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode("ascii", "replace")
        holds_resources = resource_rva and section.contains_rva(resource_rva)
        if holds_resources:
            resource_bytes += section.SizeOfRawData
        rows.append((name, section.SizeOfRawData, "resources" if holds_resources else ""))
    rest = file_size - sum(size for _, size, _ in rows)
    if rest:
        rows.append(("padding", rest, "between and after the sections"))
    program_bytes = file_size - resource_bytes

    print(f"{os.path.normpath(args.exe)}: {file_size:,} bytes")
    for name, size, note in rows:
        print(f"  {name:<10} {size:>12,}  {note}".rstrip())
    verdict = "within" if program_bytes <= args.limit else "OVER"
    print(f"non-resource {program_bytes:>12,} bytes ({verdict} the limit of {args.limit:,})")
    print(f"resources    {resource_bytes:>12,} bytes")
    return 0 if program_bytes <= args.limit else 1


if __name__ == "__main__":
    sys.exit(main())
