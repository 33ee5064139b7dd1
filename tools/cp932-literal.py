#!/usr/bin/env python3
"""Prints a C string literal holding the code page 932 bytes of each argument.

Source files stay ASCII; Japanese texts are written as escapes with the text
itself in a comment beside them."""
import sys

def literal(text):
    out, pending_hex = [], False
    for b in text.encode("cp932"):
        ch = chr(b)
        if b >= 0x80 or b < 0x20 or ch in '"\\':
            if ch == "\n":
                out.append("\\n"); pending_hex = False; continue
            out.append("\\x%02x" % b); pending_hex = True
        else:
            if pending_hex and ch in "0123456789abcdefABCDEF":
                out.append('" "')
            out.append(ch); pending_hex = False
    return '"' + "".join(out) + '"'

for arg in sys.argv[1:]:
    print(f"{literal(arg)}  /* {arg} */")
