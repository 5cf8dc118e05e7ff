#!/usr/bin/python3
"""Turns a page text kept with LF lines into the package form: CR LF lines and a terminating NUL."""
import sys

source, target = sys.argv[1], sys.argv[2]
with open(source, "rb") as f:
    text = f.read().replace(b"\r\n", b"\n")
if any(b > 0x7F for b in text):
    sys.exit(f"{source}: page texts are plain ASCII")
with open(target, "wb") as f:
    f.write(text.replace(b"\n", b"\r\n") + b"\0")
