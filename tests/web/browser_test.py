#!/usr/bin/python3
"""The browser test: the demo's site in headless Chromium, played as a player would.

    tests/web/browser_test.py SITEDIR

Through the opening into the menu, stage 1 chosen; the ink refilled, the picture rubbed away
over every check point, the stage paused and finished; the trace read from the console all
along; then the page reloaded, and the stage the run opened is still open (the records are kept
in the browser's storage); stage 2 played once the storage refuses, and the page says that the
records were not saved. Then the same site without one of the game's pictures: the game's own
message shows on the page and the game stops. Exits 77 (skipped) when Chromium or selenium is
missing.
"""

import json
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kiv_page  # noqa: E402
from demo_scripts import read_layout  # noqa: E402


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def clear_stage(page, text, stage):
    """Stage played from its introduction: ink first, then a rub on each check point, the stage
    paused and finished at the prompt. Returns the trace's stage event."""
    scene = stage + 1
    page.wait_frame(scene, 4, 120)
    page.click(320, 240)  # the introduction clicked away
    page.wait_frame(scene, 50)
    refill, points = read_layout(text)
    (rx, ry), points = refill[stage - 1], points[stage - 1]
    # A press is tested 9 right and 7 below the pointer.
    page.click(rx - 9, ry - 7)
    time.sleep(0.2)
    for x, y in points:
        page.click(x - 9, y - 7)
        time.sleep(0.1)
    page.wait(lambda e: e.get("ev") == "effect", 10, "the sound of a stroke")
    page.click(320, 240, button=2)  # pause
    page.wait_frame(scene, 84, 60)
    page.click(320, 240)  # finish the stage at the prompt
    page.wait_frame(scene, 98, 60)
    page.click(320, 240)
    result = page.wait(lambda e: e.get("ev") == "stage", 60, f"the end of stage {stage}")
    check(result["stage"] == stage and result["points"] == 20 and result["outcome"] == 0,
          f"stage {stage} should be cleared with 20 points: {result}")
    return result


def play(site):
    text = kiv_page.site_files(site)["Kiv.txt"]

    server = kiv_page.Server(site)
    page = kiv_page.Page()
    try:
        page.open(server.url + "?trace&seed=11")
        check(page.driver.title == "KIV system", f"page title {page.driver.title!r}")
        page.wait(lambda e: e.get("ev") == "records", 30, "the records line")
        page.wait_frame(0, None, 30)
        # No browser menu on a right click; the picture is scaled by a whole factor.
        left, top, w, h, cw, ch = page.canvas_box()
        check((cw, ch) == (640, 480) and w % cw == 0 and w / cw == h / ch, f"canvas {cw}x{ch} shown {w}x{h}")

        # The mixer is off the audio context while nothing sounds, and on it for the click's sound.
        end = time.time() + 3
        while time.time() < end and page.driver.execute_script("return Module.SDL2.kivSoundConnected;") is not False:
            time.sleep(0.05)
        check(page.driver.execute_script("return Module.SDL2.kivSoundConnected;") is False,
              "the mixer should rest while no sound plays")
        page.click(320, 240)  # the opening gives way to the menu
        check(page.driver.execute_script("return Module.SDL2.kivSoundConnected;") is True,
              "the mixer should play the click's sound")
        page.wait_frame(1, 12)
        # Sound plays: the audio context runs after the click, and the title music is decoded
        # and playing through it.
        sound = page.driver.execute_script(
            "const m = Module.kivMusic, sdl = Module.SDL2;"
            "return [sdl && sdl.audioContext && sdl.audioContext.state, !!(m && m.wanted && m.source),"
            "        m && m.buffer ? m.buffer.duration : 0];")
        check(sound[0] == "running" and sound[1] and sound[2] > 1, f"no sound: context, music, length {sound}")
        # The menu is on the canvas: opaque, and far from all black.
        pixels = page.driver.execute_script(
            "const d = document.getElementById('canvas').getContext('2d').getImageData(0, 0, 640, 480).data;"
            "let opaque = 0, lit = 0; for (let i = 0; i < d.length; i += 4) {"
            "  if (d[i + 3] === 255) ++opaque; if (d[i] + d[i + 1] + d[i + 2] > 60) ++lit; }"
            "return [opaque, lit];")
        check(pixels[0] == 640 * 480 and pixels[1] > 20000, f"the menu does not show: {pixels} opaque, lit")
        page.click(311, 180)  # stage 1, chosen and confirmed
        page.wait_frame(1, 14)
        page.click(311, 180)
        clear_stage(page, text, 1)
        # Stage 2 follows, which opens it in the menu, and that is saved at once.
        save = page.wait(lambda e: e.get("ev") == "save", 60, "the records saved")
        check("error" not in save, f"the save failed: {save}")
        time.sleep(1)  # the browser's storage is written after the save

        # A reload plays the game again from the opening: stage 2 can now be chosen.
        page.open(server.url + "?trace&seed=11")
        records = page.wait(lambda e: e.get("ev") == "records", 30, "the records line")
        check(records.get("user") is True, f"the records should be the player's own: {records}")
        ini = page.driver.execute_script("return Module.FS.readFile(arguments[0], {encoding: 'utf8'});",
                                         records["file"])
        check("Stage=2" in ini, f"the open stages were not kept: {ini!r}")
        page.wait_frame(0, None, 30)
        page.click(320, 240)
        page.wait_frame(1, 12)
        page.click(350, 195)  # stage 2
        page.wait_frame(1, 14)
        page.click(350, 195)
        page.wait_frame(3, None, 60)
        bad = [t for t in page.pending if "kiv:" in t and "no sound device" not in t]
        check(not bad, f"the game complained: {bad}")

        # The browser's storage now refuses: the save after stage 2 fails and the page says so.
        page.driver.execute_script(
            "IDBDatabase.prototype.transaction = function () { throw new Error('the storage is full'); };")
        clear_stage(page, text, 2)
        save = page.wait(lambda e: e.get("ev") == "save", 60, "the records saved")
        check("error" in save, f"the save should have failed: {save}")
        status = page.driver.execute_script("return document.getElementById('status').textContent;")
        check(status.startswith("the records were not saved"), f"the page should say the save failed: {status!r}")
    finally:
        page.close()
        server.close()


def broken(site):
    """The site as if packed from a game folder without its parts sheet: the page shows the
    game's message and stops, as the desktop shows it in a message box and ends."""
    with tempfile.TemporaryDirectory(prefix="kiv-broken-site-") as folder:
        copy = os.path.join(folder, "site")
        shutil.copytree(site, copy)
        with open(os.path.join(copy, "kiv-site.json"), encoding="utf-8") as f:
            meta = json.load(f)
        meta["files"] = [e for e in meta["files"] if e["path"] != "game/Ptit.bmp"]
        with open(os.path.join(copy, "kiv-site.json"), "w", encoding="utf-8") as f:
            json.dump(meta, f)
        server = kiv_page.Server(copy)
        page = kiv_page.Page()
        try:
            page.open(server.url + "?trace")
            message = page.wait(lambda e: e.get("ev") == "message", 30, "the game's message")
            check(message["text"] == "not find  Ptit.bmp", f"the message: {message}")
            end = page.wait(lambda e: e.get("ev") == "exit", 30, "the game's end")
            check(end["status"] == 1, f"the game should stop with status 1: {end}")
            shown = page.driver.execute_script(
                "const box = document.getElementById('message');"
                "return [getComputedStyle(box).display, document.getElementById('message-text').textContent,"
                "        document.getElementById('stage').classList.contains('stopped'),"
                "        document.getElementById('status').textContent];")
            check(shown[0] != "none" and shown[1] == "not find  Ptit.bmp", f"the page's message box: {shown}")
            check(shown[2] and "stopped" in shown[3], f"the page should say the game stopped: {shown}")
        finally:
            page.close()
            server.close()


def main():
    if len(sys.argv) != 2:
        print("usage: browser_test.py SITEDIR", file=sys.stderr)
        return 2
    site = sys.argv[1]
    why = kiv_page.skip_reason(site)
    if why:
        print(f"skipped: {why}")
        return 77
    play(site)
    broken(site)
    print("the browser test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
