#!/usr/bin/python3
"""The packer makes a site of any game folder.

    tests/web/pack_test.py GAME_DIR

A folder made here from a few of the demo's files (GAME_DIR: the test build's own demo) and
some that a game maker's folder may hold is packed with stand-ins for the engine files. The
site must hold every game file as it is, and nothing else of the folder (not the program, not
hidden files, not sub-folders). Every MIDI file is rendered to OGG Vorbis whatever its name,
and a file named .mid that is no MIDI file is left silent with a warning. The font is cut down
to the game's characters, and kiv-site.json says where each file lies in game.data.
Exits 77 (skipped) when FluidSynth, oggenc or pyftsubset is missing.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
PACK = os.path.join(HERE, "..", "..", "web", "pack.py")


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def main():
    if len(sys.argv) != 2:
        print("usage: pack_test.py GAME_DIR", file=sys.stderr)
        return 2
    demo = sys.argv[1]
    for tool, package in (("fluidsynth", "fluidsynth"), ("oggenc", "vorbis-tools"), ("pyftsubset", "fonttools"),
                          ("fc-match", "fontconfig")):
        if not shutil.which(tool):
            print(f"skipped: {tool} is not installed (Debian package {package})")
            return 77
    if not os.path.isfile(os.path.join(demo, "Kiv.txt")):
        print(f"skipped: no demo game in {demo}")
        return 77

    with tempfile.TemporaryDirectory(prefix="kiv-pack-test-") as work:
        game = os.path.join(work, "game folder")
        os.makedirs(os.path.join(game, "notes"))
        with open(os.path.join(demo, "Kiv.txt"), "rb") as f:
            kiv_txt = f.read()
        # A line of the game's own text with a kanji the demo does not use (猫, Shift-JIS 0x944C).
        kiv_txt = kiv_txt.replace(b"\r\n", b"\r\n\x94\x4c\r\n", 1)
        files = {
            "Kiv.txt": kiv_txt,
            "Kv01.mid": open(os.path.join(demo, "Kv01.mid"), "rb").read(),
            "title tune.MIDI": open(os.path.join(demo, "Kv02.mid"), "rb").read(),
            "Kv03.mid": b"not a tune",
            "C01.jpg": open(os.path.join(demo, "C01.jpg"), "rb").read(),
            "kiv": b"#!/bin/sh\n",
            ".hidden": b"x",
            os.path.join("notes", "todo.txt"): b"y",
        }
        for name, data in files.items():
            with open(os.path.join(game, name), "wb") as f:
                f.write(data)
        os.chmod(os.path.join(game, "kiv"), 0o755)
        engine = os.path.join(work, "engine")
        os.makedirs(engine)
        for name in ("kiv.js", "kiv.wasm"):
            with open(os.path.join(engine, name), "w") as f:
                f.write(f"stand-in for {name}\n")

        site = os.path.join(work, "site")
        r = subprocess.run([sys.executable, PACK, "--data", game, "--out", site, "--engine", engine, "--wideflower"],
                           capture_output=True, text=True, timeout=300)
        check(r.returncode == 0, f"pack failed: {r.stderr}")
        check("Kv03.mid is no MIDI file" in r.stderr, f"no warning for the broken tune: {r.stderr}")

        with open(os.path.join(site, "kiv-site.json"), encoding="utf-8") as f:
            meta = json.load(f)
        with open(os.path.join(site, meta["data"]), "rb") as f:
            blob = f.read()
        check(meta["size"] == len(blob), f"size {meta['size']} for {len(blob)} bytes")
        check(meta["args"] == ["wideflower"] and meta["title"] == "KIV system", f"settings: {meta}")
        held = {e["path"]: blob[e["offset"]:e["offset"] + e["size"]] for e in meta["files"]}
        end = 0
        for e in sorted(meta["files"], key=lambda e: e["offset"]):
            check(e["offset"] == end, f"{e['path']} does not follow the file before it")
            end = e["offset"] + e["size"]
        check(end == len(blob), "game.data holds more than its files")

        game_files = {p[5:]: data for p, data in held.items() if p.startswith("game/")}
        want = {n: d for n, d in files.items() if n not in ("kiv", ".hidden") and os.sep not in n}
        check(game_files == want, f"game files: {sorted(game_files)} for {sorted(want)}")
        music = sorted(p for p in held if p.startswith("music/"))
        check(music == ["music/Kv01.mid.ogg", "music/title tune.MIDI.ogg"], f"music: {music}")
        for p in music:
            check(held[p][:4] == b"OggS" and len(held[p]) > 1000, f"{p} is no OGG Vorbis file")

        font = held["font.ttf"]
        with tempfile.NamedTemporaryFile(suffix=".ttf") as f:
            f.write(font)
            f.flush()
            r = subprocess.run(["fc-query", "-f", "%{charset}", f.name], capture_output=True, text=True)
        charset = r.stdout
        whole = subprocess.run(["fc-match", "-f", "%{file}", "IPAPGothic"], capture_output=True, text=True).stdout
        check(len(font) < os.path.getsize(whole) / 2, f"the font is not cut down: {len(font)} bytes")
        # fc-query prints the characters as hexadecimal ranges: U+732B (猫) is among them, and
        # a kanji no text holds (U+9F8D, 龍) is not.
        check(covers(charset, 0x732B), "the game's own kanji is not in the font")
        check(not covers(charset, 0x9F8D), "the font holds characters no text uses")
        for name in ("index.html", "kiv.js", "kiv.wasm"):
            check(os.path.isfile(os.path.join(site, name)), f"no {name} in the site")
    print("the packer made the site of the game folder")
    return 0


def covers(charset, code):
    for part in charset.split():
        first, _, last = part.partition("-")
        try:
            lo, hi = int(first, 16), int(last or first, 16)
        except ValueError:
            continue
        if lo <= code <= hi:
            return True
    return False


if __name__ == "__main__":
    sys.exit(main())
