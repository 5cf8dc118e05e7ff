#!/usr/bin/python3
"""Prints the image layout of setup builds: where the resource section starts
in the file, and how many bytes everything else takes (headers, code, data,
imports, relocations and padding), against the 16 KiB the shipped program may
spend on them.

Usage: image_layout.py LABEL EXE [LABEL EXE ...]
"""
import sys

import pefile

PAGE = 4096
LIMIT = 16 * 1024

print("4. Image layout of the shipped i686 program: Wine maps a section from the file only at a")
print("   page-aligned file offset, and reads any other into private memory at load")
print(f"   {'layout':34} {'file align':>10} {'.rsrc at':>10} {'mapped':>7} {'non-resource B':>15}  {'at most 16 KiB'}")
arguments = sys.argv[1:]
for label, path in zip(arguments[0::2], arguments[1::2]):
    pe = pefile.PE(path, fast_load=True)
    resource_rva = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]].VirtualAddress
    resources = next(s for s in pe.sections if s.VirtualAddress == resource_rva)
    other = len(pe.__data__) - resources.SizeOfRawData
    mapped = "yes" if resources.PointerToRawData % PAGE == 0 else "no"
    verdict = "PASS" if other <= LIMIT else "MISS"
    print(f"   {label:34} {pe.OPTIONAL_HEADER.FileAlignment:>#10x} {resources.PointerToRawData:>#10x} {mapped:>7} "
          f"{other:>15,}  {verdict}")
    pe.close()
