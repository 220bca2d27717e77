#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets beside this script.

Usage: fuzz/seed-corpora.py BUILD_DIR   (needs BUILD_DIR/bin/ostravue-cli and the open corpus)
"""
import os
import struct
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
cli = os.path.join(sys.argv[1], "bin", "ostravue-cli")


def save(corpus, name, data):
    os.makedirs(os.path.join(here, corpus), exist_ok=True)
    with open(os.path.join(here, corpus, name), "wb") as f:
        f.write(data)


def ysk_seeds():
    for name in ("kind0.ysk", "kind1.ysk", "kind2.ysk", "mpeg4.ysk", "damaged-sizes.ysk",
                 "no-key-frames.ysk"):
        with open(os.path.join(here, "corpus", name), "rb") as f:
            yield name, f.read()


def video_frames(path):
    """(key, payload) of the first video run of a backup file."""
    b = open(path, "rb").read()
    start = 2037 if b[2] == 0 else 4096
    s, e = struct.unpack_from("<II", b, 21 + 51)
    pos, out = start + s, []
    while pos + 20 <= start + e:
        _, _, size, _, ftype = struct.unpack_from("<iIIII", b, pos)
        out.append((ftype == 1, b[pos + 20:pos + 20 + size]))
        pos += 20 + size
    return out


with tempfile.TemporaryDirectory() as tmp:
    # open + index + search: second (s16), resume share, flags, then the file
    for name, data in ysk_seeds():
        for second, share, flags in ((0, 0, 0), (5, 128, 1), (-3, 255, 2), (30000, 40, 0)):
            save("corpus-seek", f"{name}-{second}-{share}-{flags}",
                 struct.pack("<hBB", second, share, flags) + data)
    # engine: (command, argument) pairs, 0xFF, then the file
    scripts = {
        "play-wait": bytes([0, 0, 11, 100, 11, 100]),
        "ff-rew-jumps": bytes([0, 0, 11, 50, 2, 0, 2, 0, 11, 50, 1, 0, 11, 50, 3, 0, 4, 0, 11, 60]),
        "seek-iframe-layout": bytes([0, 0, 5, 20, 11, 40, 6, 0, 7, 3, 5, 10, 8, 4, 9, 0, 10, 30,
                                     11, 90]),
    }
    for name, data in ysk_seeds():
        for sname, script in scripts.items():
            save("corpus-engine", f"{name}-{sname}", script + b"\xff" + data)
    # storage: .yrx files of a small recording joined by the separator
    store = os.path.join(tmp, "store")
    subprocess.run([cli, "make-sample", store, "--storage", "--recording", "20240301",
                    "--yrx-files", "3", "--channels", "2", "--duration", "1", "--fps", "4",
                    "--gop", "2", "--size", "64x48"], check=True, stdout=subprocess.DEVNULL)
    rec = os.path.join(store, "QL01", "20240301")
    parts = [open(os.path.join(rec, f"20240301_{k}.yrx"), "rb").read() for k in (1, 2, 3)]
    save("corpus-storage", "three-files", b"--YRX--".join(parts))
    save("corpus-storage", "one-file", parts[0])
    save("corpus-storage", "cut-record", parts[0][:len(parts[0]) // 2] + b"--YRX--" + parts[1])
    # decoder: frames of both codings, key byte first
    for coding in (1, 2):
        ysk = os.path.join(tmp, f"c{coding}.ysk")
        subprocess.run([cli, "make-sample", ysk, "--channels", "1", "--no-audio", "--coding",
                        str(coding), "--duration", "0.6", "--fps", "10", "--gop", "3", "--size",
                        "96x64"], check=True, stdout=subprocess.DEVNULL)
        frames = video_frames(ysk)
        joined = b"--FRAME--".join(bytes([1 if k else 0]) + p for k, p in frames)
        save("corpus-decoder", f"coding{coding}", joined)
        save("corpus-decoder", f"coding{coding}-key-only", bytes([1]) + frames[0][1])
