#!/usr/bin/python3
"""Declares a code page on every resource data entry of a linked executable.

windres writes code page 0 whatever the script says, so the build sets it
afterwards. Usage: set_resource_codepage.py EXE CODEPAGE
"""
import sys

import pefile

path, codepage = sys.argv[1], int(sys.argv[2])
pe = pefile.PE(path)


def entries(directory):
    for entry in directory.entries:
        if hasattr(entry, "directory"):
            yield from entries(entry.directory)
        else:
            yield entry.data


for data in entries(pe.DIRECTORY_ENTRY_RESOURCE):
    data.struct.CodePage = codepage
data = pe.write()
pe.close()
with open(path, "wb") as f:
    f.write(data)
