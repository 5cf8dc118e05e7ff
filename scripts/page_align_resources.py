#!/usr/bin/python3
"""Moves a linked executable's resource section to a page boundary in the file.

Wine maps an image section from the file only when the section starts at a
page-aligned file offset; any other section it reads into private memory when
the image loads. With the linker's small file alignment the resources, nearly
the whole file, are therefore copied into memory before the first page shows.
Padding the file just before the resource section, and moving what follows,
keeps the code and data sections as compact as before while the resources are
mapped. The result is a valid image for Windows too: every section still starts
at a multiple of the file alignment, and only file offsets change.

Usage: page_align_resources.py EXE
"""
import sys

import pefile

PAGE = 4096

path = sys.argv[1]
pe = pefile.PE(path)
directories = pe.OPTIONAL_HEADER.DATA_DIRECTORY
resource_rva = directories[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]].VirtualAddress
resources = next(s for s in pe.sections if s.VirtualAddress == resource_rva)
start = resources.PointerToRawData
gap = -start % PAGE
if gap:
    # File offsets outside the section table would move too: refuse them.
    if directories[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_SECURITY"]].Size:
        sys.exit(f"{path}: signed, cannot move its sections")
    if directories[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DEBUG"]].Size or pe.FILE_HEADER.PointerToSymbolTable:
        sys.exit(f"{path}: carries debug data, cannot move its sections")
    for section in pe.sections:
        if section.PointerToRawData >= start:
            section.PointerToRawData += gap
    data = bytearray(pe.write())
    pe.close()
    data[start:start] = bytes(gap)
    moved = pefile.PE(data=bytes(data))
    moved.OPTIONAL_HEADER.CheckSum = moved.generate_checksum()
    data = moved.write()
    with open(path, "wb") as f:
        f.write(data)
