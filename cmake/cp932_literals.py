#!/usr/bin/env python3
# Writes a copy of a C++ source whose ordinary string and character literals
# hold code page 932 bytes as octal escapes, for compilers that cannot
# convert the execution character set themselves (clang takes UTF-8 only).
#   cp932_literals.py IN.cpp OUT.cpp
# Octal escapes, always three digits: a hex escape would swallow the digits
# that follow it. Comments and u"", U"", L"", u8"" literals stay as they are,
# as their meaning does not depend on the execution character set.
import os
import sys

PREFIXES = {"u", "U", "L", "u8"}


def escape(text):
    return "".join(ch if ord(ch) < 0x80 else "".join("\\%03o" % b for b in ch.encode("cp932")) for ch in text)


def convert(source, name):
    out = []
    i = 0
    n = len(source)
    while i < n:
        ch = source[i]
        if source.startswith("//", i):
            end = source.find("\n", i)
            end = n if end < 0 else end
            out.append(source[i:end])
            i = end
        elif source.startswith("/*", i):
            end = source.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(source[i:end])
            i = end
        elif ch.isalnum() or ch == "_":
            # An identifier or a number (with its digit separators), and the
            # literal it may prefix.
            start = i
            while i < n and (source[i].isalnum() or source[i] == "_"
                             or (source[i] == "'" and source[start].isdigit())):
                i += 1
            word = source[start:i]
            out.append(word)
            if i < n and source[i] in "\"'":
                raw = word.endswith("R") and word[:-1] in PREFIXES | {""}
                if raw:
                    i = copy_raw(source, i, out, name, word[:-1] in PREFIXES)
                else:
                    i = copy_literal(source, i, out, convert_bytes=word not in PREFIXES)
        elif ch in "\"'":
            i = copy_literal(source, i, out, convert_bytes=True)
        else:
            out.append(ch)
            i += 1
    return "".join(out)


def copy_literal(source, i, out, convert_bytes):
    quote = source[i]
    j = i + 1
    while j < len(source) and source[j] != quote and source[j] != "\n":
        j += 2 if source[j] == "\\" else 1
    j = min(j + 1, len(source))
    body = source[i:j]
    out.append(escape(body) if convert_bytes else body)
    return j


def copy_raw(source, i, out, name, prefixed):
    open_paren = source.find("(", i)
    delimiter = source[i + 1:open_paren]
    end = source.find(")" + delimiter + '"', open_paren)
    end = len(source) if end < 0 else end + len(delimiter) + 2
    body = source[i:end]
    if not prefixed and any(ord(ch) >= 0x80 for ch in body):
        sys.exit(f"{name}: a raw string literal holds non-ASCII text, which cannot be escaped")
    out.append(body)
    return end


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: cp932_literals.py IN.cpp OUT.cpp")
    path, target = sys.argv[1], sys.argv[2]
    with open(path, encoding="utf-8", newline="") as f:
        source = f.read()
    # Diagnostics and __FILE__ name the original.
    quoted = path.replace("\\", "\\\\").replace('"', '\\"')
    text = f'#line 1 "{quoted}"\n' + convert(source, path)
    with open(target + ".partial", "w", encoding="utf-8", newline="") as f:
        f.write(text)
    os.replace(target + ".partial", target)


if __name__ == "__main__":
    main()
