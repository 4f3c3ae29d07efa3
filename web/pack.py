#!/usr/bin/python3
"""Packs a Kiv game folder into a static web site that plays it in the browser.

    web/pack.py --data GAMEDIR --out SITEDIR --engine ENGINEDIR [--wideflower]

The site is plain files (any static web server plays it, no special headers):
  index.html            the page (web/index.html)
  kiv.js, kiv.wasm      the engine, the same for every game (from ENGINEDIR)
  kiv-site.json         what the page loads: the game's files in game.data, and page settings
  game.data             the game folder's files, each MIDI tune also as OGG Vorbis, and the
                        Japanese Gothic font cut down to the characters the game's texts use

Music: each .mid is rendered here by the FluidSynth program with the soundfont the desktop
game uses and the desktop's gain, then encoded as OGG Vorbis; the .mid goes along too, since the
engine takes the tune's length (when it starts again) from it. Font: the one the desktop finds
through fontconfig (IPAPGothic, else IPAGothic), subset with fontTools.
"""

import argparse
import json
import os
import shutil
import stat
import subprocess
import sys
import tempfile

# Where the desktop game looks for a General MIDI soundfont, best first, after SDL_SOUNDFONTS
# (src/platform/sdl/sdl_audio.cpp).
SOUNDFONTS = [
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/soundfonts/default.sf2",
]
SAMPLE_RATE = 44100  # the desktop opens its sound device at this rate
MUSIC_GAIN = "1.2"  # the desktop synthesizer's gain
MAX_FILE_BYTES = 257 << 20  # no game file is larger (the engine refuses larger pictures)

# Characters kept in the font besides those of the game's texts: ASCII, the kana, the
# full-width letters and the Japanese punctuation, so that a player's name (Kiv.ini) shows too.
BASE_CHARS = (
    [chr(c) for c in range(0x20, 0x7F)]
    + [chr(c) for c in range(0x3000, 0x3100)]
    + [chr(c) for c in range(0xFF01, 0xFFA0)]
    + ["\ufffd"]
)


class PackError(Exception):
    pass


def say(text):
    print("pack: " + text, file=sys.stderr)


def need(tool, package):
    path = shutil.which(tool)
    if not path:
        raise PackError(f"{tool} is missing: install the Debian package {package}")
    return path


def find_soundfont():
    for path in [p for p in os.environ.get("SDL_SOUNDFONTS", "").split(";") if p] + SOUNDFONTS:
        if os.path.isfile(path):
            return path
    raise PackError("no General MIDI soundfont found: install timgm6mb-soundfont (the desktop's)")


def fc_match(family, exact):
    try:
        out = subprocess.run(
            ["fc-match", "-f", "%{file}\n%{family}\n", family], capture_output=True, text=True, check=True
        ).stdout.split("\n")
    except (OSError, subprocess.CalledProcessError):
        return None
    if len(out) < 2 or not out[0]:
        return None
    if exact and family.lower() not in [f.strip().lower() for f in out[1].split(",")]:
        return None
    return out[0]


def find_font():
    """The font the desktop game draws its texts with (src/platform/font_ttf.cpp)."""
    need("fc-match", "fontconfig")
    font = fc_match("IPAPGothic", True) or fc_match("IPAGothic", True)
    if not font:
        font = fc_match("IPAPGothic", False)
        if font:
            say(f"no Japanese Gothic font found (fonts-ipafont-gothic); using {font}")
    if not font:
        raise PackError("no font found: install fonts-ipafont-gothic")
    return font


def game_files(data):
    """The game folder's files (not the kiv program beside them), by name."""
    files = []
    for name in sorted(os.listdir(data)):
        path = os.path.join(data, name)
        st = os.stat(path)
        if not stat.S_ISREG(st.st_mode) or name.startswith("."):
            continue
        if name == "kiv" and st.st_mode & stat.S_IXUSR:
            continue
        if st.st_size > MAX_FILE_BYTES:
            say(f"leaving out {name}: over {MAX_FILE_BYTES >> 20} MB, more than any game file")
            continue
        files.append(name)
    return files


def text_chars(data, names):
    """Every character the game's Kiv.txt and Kiv.ini hold, read as Shift-JIS (code page 932)."""
    chars = set(BASE_CHARS)
    for name in names:
        if name.lower() in ("kiv.txt", "kiv.ini"):
            with open(os.path.join(data, name), "rb") as f:
                chars.update(f.read().decode("cp932", errors="replace"))
    return "".join(sorted(c for c in chars if c >= " "))


def is_midi(path):
    with open(path, "rb") as f:
        return f.read(4) == b"MThd"


def render_music(mid, ogg, soundfont, quality, work):
    wav = os.path.join(work, "tune.wav")
    if os.path.exists(wav):
        os.remove(wav)
    # Rendered as the desktop plays it: its soundfont, its gain, 44.1 kHz, 16-bit.
    r = subprocess.run(
        ["fluidsynth", "-n", "-i", "-q", "-g", MUSIC_GAIN, "-r", str(SAMPLE_RATE), "-O", "s16", "-T", "wav",
         "-F", wav, soundfont, mid],
        capture_output=True, text=True)
    if r.returncode != 0 or not os.path.exists(wav) or os.path.getsize(wav) <= 44:
        return False
    r = subprocess.run(["oggenc", "-Q", "-q", str(quality), "-o", ogg, wav], capture_output=True, text=True)
    return r.returncode == 0 and os.path.exists(ogg)


def subset_font(font, chars, out, work):
    text = os.path.join(work, "chars.txt")
    with open(text, "w", encoding="utf-8") as f:
        f.write(chars)
    # Outlines, hinting and metrics stay as they are, so each glyph draws as from the whole font;
    # glyph 0 keeps its outline (the box that stands for a character the font lacks).
    subprocess.run(
        ["pyftsubset", font, f"--text-file={text}", f"--output-file={out}", "--notdef-outline", "--hinting",
         "--layout-features=*", "--name-IDs=*", "--name-languages=*", "--legacy-kern", "--font-number=0"],
        check=True, capture_output=True)


def pack(args):
    data = os.path.abspath(args.data)
    if not os.path.isdir(data):
        raise PackError(f"{args.data} is not a folder")
    engine = os.path.abspath(args.engine)
    for name in ("kiv.js", "kiv.wasm"):
        if not os.path.isfile(os.path.join(engine, name)):
            raise PackError(f"no {name} in {engine}: build the engine first (./build.sh web)")
    page = os.path.join(os.path.dirname(os.path.abspath(__file__)), "index.html")
    need("fluidsynth", "fluidsynth")
    need("oggenc", "vorbis-tools")
    need("pyftsubset", "fonttools")
    names = game_files(data)
    if not any(n.lower() == "kiv.txt" for n in names):
        say(f"warning: {args.data} has no Kiv.txt: the page will say so and stop")

    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)
    soundfont = args.soundfont or find_soundfont()
    font = args.font or find_font()
    entries = []
    blob_path = os.path.join(out, "game.data.tmp")
    with tempfile.TemporaryDirectory(prefix="kiv-pack-") as work, open(blob_path, "wb") as blob:
        def add(path_in_site, source):
            offset = blob.tell()
            with open(source, "rb") as f:
                shutil.copyfileobj(f, blob)
            entries.append({"path": path_in_site, "offset": offset, "size": blob.tell() - offset})

        for name in names:
            add("game/" + name, os.path.join(data, name))
        for name in names:
            # Every MIDI file, by its header rather than its name: Kiv.txt may name a tune anyhow.
            if not is_midi(os.path.join(data, name)):
                if name.lower().endswith(".mid"):
                    say(f"warning: {name} is no MIDI file: it stays silent")
                continue
            ogg = os.path.join(work, name + ".ogg")
            if render_music(os.path.join(data, name), ogg, soundfont, args.quality, work):
                add("music/" + name + ".ogg", ogg)
            else:
                # The engine then plays that slot silent, as the desktop does a tune it cannot read.
                say(f"warning: {name} does not render as MIDI: it stays silent")
        cut = os.path.join(work, "font.ttf")
        subset_font(font, text_chars(data, names), cut, work)
        add("font.ttf", cut)
        size = blob.tell()
    os.replace(blob_path, os.path.join(out, "game.data"))
    site = {
        "format": 1,
        "title": "KIV system",
        "args": ["wideflower"] if args.wideflower else [],
        "data": "game.data",
        "size": size,
        "files": entries,
    }
    with open(os.path.join(out, "kiv-site.json"), "w", encoding="utf-8") as f:
        json.dump(site, f, indent=1)
        f.write("\n")
    for name in ("kiv.js", "kiv.wasm"):
        shutil.copyfile(os.path.join(engine, name), os.path.join(out, name))
    shutil.copyfile(page, os.path.join(out, "index.html"))
    total = sum(os.path.getsize(os.path.join(out, n)) for n in ("game.data", "kiv-site.json", "kiv.js", "kiv.wasm",
                                                                 "index.html"))
    say(f"{out}: {len(names)} game files, {total / 1e6:.1f} MB")


def main():
    # The web build embeds the same font in its node runner.
    if sys.argv[1:] == ["--which-font"]:
        try:
            print(find_font())
        except PackError as e:
            print(f"pack: {e}", file=sys.stderr)
            sys.exit(1)
        return
    p = argparse.ArgumentParser(description="Packs a Kiv game folder into a static web site.",
                                epilog="web/pack.py --which-font prints the font a site would be given.")
    p.add_argument("--data", required=True, help="the game folder")
    p.add_argument("--out", required=True, help="the site's folder (made when missing)")
    p.add_argument("--engine", required=True, help="the folder of the web engine's kiv.js and kiv.wasm")
    p.add_argument("--wideflower", action="store_true", help="start in the 580 x 380 picture")
    p.add_argument("--soundfont", help="render the music with this soundfont instead of the desktop's")
    p.add_argument("--font", help="use this font instead of the desktop's")
    p.add_argument("--quality", type=int, default=2, help="OGG Vorbis quality of the music (-1..10, default 2)")
    args = p.parse_args()
    try:
        pack(args)
    except PackError as e:
        print(f"pack: {e}", file=sys.stderr)
        sys.exit(1)
    except subprocess.CalledProcessError as e:
        print(f"pack: {' '.join(e.cmd)} failed: {e.stderr}", file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
