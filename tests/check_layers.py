#!/usr/bin/env python3
"""Holds the layout to its rules: each folder of src/ includes only from the folders below it,
only the SDL back end includes SDL and the libraries behind it, and the SDL-free programs named
on the command line load none of those libraries.

usage: check_layers.py SRC_DIR [SDL_FREE_PROGRAM ...]
"""
import os
import re
import subprocess
import sys

# What each folder may include from, besides itself. Lower layers first.
ALLOWED = {
    "platform": set(),
    "ini": set(),
    "files": set(),
    "data": {"platform"},
    "media": {"data", "platform"},
    "records": {"ini", "files", "data", "platform"},
    "game": {"records", "media", "data", "platform", "ini", "files"},
    "scenes": {"game", "records", "media", "data", "platform", "ini", "files"},
    "check": {"game", "records", "media", "data", "platform", "ini", "files"},
    "maker": {"check", "scenes", "game", "records", "media", "data", "platform", "ini", "files"},
    "shell": {"maker", "check", "scenes", "game", "records", "media", "data", "platform", "ini", "files"},
    "main.cpp": {"shell", "platform"},
    # The browser's start-up beside main.cpp: it finds the game's records folder from the command
    # line before the game starts, so it stands above the shell, though it lives by the back ends.
    "platform/web": {"shell", "maker", "check", "scenes", "game", "records", "media", "data", "platform", "ini",
                     "files"},
}

# Headers of SDL and of the libraries only the SDL back end may use.
BACKEND_HEADERS = re.compile(r"#include\s*<(SDL|SDL2/|fluidsynth|alsa/|fontconfig/)")
# Shared libraries an SDL-free program must not load.
BACKEND_LIBRARIES = re.compile(r"lib(SDL2|SDL2_mixer|SDL2_ttf|fluidsynth|asound|fontconfig)[-.]")
LOCAL_INCLUDE = re.compile(r'#include\s*"([a-z_]+)/')
SDL_BACKEND = os.path.join("platform", "sdl")
WEB_START = os.path.join("platform", "web")


def layer_of(relative):
    if relative.startswith(WEB_START + os.sep):
        return "platform/web"
    return relative.split(os.sep)[0]


def check_sources(src):
    faults = []
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h", ".in")):
                continue
            path = os.path.join(root, name)
            relative = os.path.relpath(path, src)
            layer = layer_of(relative)
            if layer not in ALLOWED:
                faults.append(f"{relative}: the folder {layer}/ has no place in the layers")
                continue
            in_backend = relative.startswith(SDL_BACKEND + os.sep)
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    if BACKEND_HEADERS.search(line) and not in_backend:
                        faults.append(f"{relative}:{number}: only src/platform/sdl/ includes {line.strip()}")
                    m = LOCAL_INCLUDE.match(line.strip())
                    if not m:
                        continue
                    target = m.group(1)
                    if target == "platform" and line.strip().startswith('#include "platform/web/') and \
                            layer not in ("platform/web", "main.cpp"):
                        faults.append(f"{relative}:{number}: only main.cpp starts the browser's records")
                    if target != layer and target not in ALLOWED[layer]:
                        faults.append(f"{relative}:{number}: {layer}/ must not include from {target}/ ({line.strip()})")
                    if target == "platform" and layer == "platform" and not in_backend and \
                            line.strip().startswith('#include "platform/sdl/'):
                        faults.append(f"{relative}:{number}: the platform seam must not include the SDL back end")
    return faults


def check_programs(programs):
    faults = []
    for program in programs:
        out = subprocess.run(["ldd", program], capture_output=True, text=True)
        if out.returncode != 0:
            faults.append(f"{program}: ldd failed: {out.stderr.strip()}")
            continue
        for line in out.stdout.splitlines():
            if BACKEND_LIBRARIES.search(line):
                faults.append(f"{program}: loads {line.split()[0]}, which only the SDL back end may link")
    return faults


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    faults = check_sources(argv[1]) + check_programs(argv[2:])
    for fault in faults:
        print(fault)
    print(f"layers: {len(faults)} fault{'s' if len(faults) != 1 else ''}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
