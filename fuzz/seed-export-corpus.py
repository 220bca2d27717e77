#!/usr/bin/env python3
"""Writes the export planner's seed corpus (fuzz/corpus-export) from the open corpus's named
files: each under a few ranges, and each with the damage an export must read past: a frame
header of unknown type, a stretch of zero bytes inside a run, a sound frame stamped far ahead and
a jump of the millisecond clock.

Usage: fuzz/seed-export-corpus.py
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus-export")
names = ("kind0.ysk", "kind1.ysk", "kind2.ysk", "mpeg4.ysk", "damaged-sizes.ysk",
         "no-key-frames.ysk")


def data_start(b):
    return 2037 if b[2] == 0 else 4096


def header_at(b):
    """Offset of the header in effect (layout 2 keeps it 4096 bytes before the end)."""
    return len(b) - 4096 if b[2] == 2 else 0


def run(b, audio, slot):
    h = header_at(b)
    rec = h + (1029 if audio else 21) + 63 * slot
    s, e = struct.unpack_from("<II", b, rec + 51)
    return rec, data_start(b) + s, data_start(b) + e


def frames(b, audio, slot):
    _, pos, end = run(b, audio, slot)
    while pos + 20 <= end and pos + 20 <= len(b):
        size = struct.unpack_from("<I", b, pos + 8)[0]
        yield pos
        pos += 20 + size


def insert_zeros(b, at, n):
    """n zero bytes at offset at; every run offset behind it moves up."""
    b = bytearray(b)
    h, ds = header_at(b), data_start(b)
    for base in (21, 1029):
        for r in range(16):
            o = h + base + 63 * r
            for k in (51, 55):
                v = struct.unpack_from("<I", b, o + k)[0]
                if v and ds + v >= at and (k == 55 or ds + v > at):
                    struct.pack_into("<I", b, o + k, v + n)
    return bytes(b[:at]) + bytes(n) + bytes(b[at:])


def damaged(name, b):
    video = list(frames(b, False, 0))
    if len(video) > 4:
        t = bytearray(b)
        struct.pack_into("<I", t, video[3] + 16, 9)
        yield "type9", bytes(t)
        if b[2] != 2:  # the tail header of layout 2 would move; kept simple
            yield "zeros", insert_zeros(b, video[4], 600)
        c = bytearray(b)
        struct.pack_into("<I", c, video[2] + 4, struct.unpack_from("<I", c, video[2] + 4)[0]
                         + 2000000000)
        yield "clock", bytes(c)
    sound = list(frames(b, True, 0))
    if len(sound) > 1:
        j = bytearray(b)
        struct.pack_into("<i", j, sound[1], struct.unpack_from("<i", j, sound[1])[0] + 1000000)
        yield "soundjump", bytes(j)


os.makedirs(out, exist_ok=True)
for name in names:
    with open(os.path.join(here, "corpus", name), "rb") as f:
        base = f.read()
    variants = [("plain", base)] + list(damaged(name, base))
    for vname, data in variants:
        for first, length, flags in ((0, 255, 16), (2, 3, 32), (-5, 40, 1)):
            with open(os.path.join(out, f"{name}-{vname}-{first}-{length}-{flags}"), "wb") as f:
                f.write(struct.pack("<hBB", first, length, flags) + data)
