#!/usr/bin/python3
"""The whole demo played in the browser, frame for frame as the desktop plays it headless.

    tests/web/browser_replay_test.py SITEDIR NATIVE_KIV

A challenge run (every stage cleared by a press on each of its check points, then the ending,
the ranking and the name entry) is written as a headless script from the site's own Kiv.txt. A
player in the page makes the script's presses and releases on the canvas, each after the same
frame as the script says, as a player's input reaches the game between two frames; as a real
mouse does, it moves to each place before it presses or releases there (those moves, with no
button held, change nothing the trace compares). The native
program plays the same script headless on the same files, from the same (read-only) folder and
no records. The two traces must have the same frames, stage results, spoken lines, voices,
effects and clock changes, and the records the browser kept must be the native run's.
Exits 77 (skipped) when Chromium, selenium or the site is missing.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kiv_page  # noqa: E402
from demo_scripts import challenge_script  # noqa: E402

SEED = 11
NAME = "webkiv"
# The events that a replay has at the same frames as the run it replays (the others follow the
# real clock or the sound device).
SAME_EVENTS = ("frame", "stage", "speech", "voice", "effect", "clock")

# The player in the page: it takes the trace's lines from the console and, after the frames
# the script asks for, makes its input on the canvas. The input is made once the frame is over
# and the game waits for its next (a microtask runs when the game hands the browser its turn).
PLAYER = """
(() => {
  const R = window.kivReplay = {cmds: %s, i: 0, lines: [], scene: 0, step: 0, waitFrames: 0,
                                until: null, untilMax: 0, untilRan: 0, done: false, error: null, held: 0};
  const buttons = {left: 0, middle: 1, right: 2};
  const masks = [1, 4, 2];
  function at(x, y) {
    const c = document.getElementById("canvas"), r = c.getBoundingClientRect();
    return {clientX: r.left + (x + 0.5) * r.width / c.width, clientY: r.top + (y + 0.5) * r.height / c.height,
            bubbles: true, cancelable: true, view: window};
  }
  function mouse(type, x, y, button, shift) {
    const canvas = document.getElementById("canvas");
    // A mouse is at a place before it presses or releases there; the game takes a button's
    // place from the last move, so the move comes first.
    if (type !== "mousemove")
      canvas.dispatchEvent(new MouseEvent("mousemove", Object.assign(at(x, y), {buttons: R.held, shiftKey: shift})));
    canvas.dispatchEvent(new MouseEvent(type, Object.assign(at(x, y), {button: button, buttons: R.held, shiftKey: shift})));
  }
  function run() {
    while (R.i < R.cmds.length) {
      const c = R.cmds[R.i++];
      const op = c[0], x = +c[1], y = +c[2];
      const button = buttons[c[3]] !== undefined ? buttons[c[3]] : 0;
      const shift = c.includes("shift");
      if (op === "frames") {
        if (+c[1] > 0) { R.waitFrames = +c[1]; return; }
      } else if (op === "until-scene" || op === "until-step") {
        const want = +c[1];
        const test = op === "until-scene" ? () => R.scene === want : () => R.step === want;
        if (!test()) { R.until = test; R.untilMax = c.length > 2 ? +c[2] : 10000; R.untilRan = 0; return; }
      } else if (op === "click") {
        R.held |= masks[button]; mouse("mousedown", x, y, button, shift);
        R.held &= ~masks[button]; mouse("mouseup", x, y, button, shift);
      } else if (op === "press") {
        R.held |= masks[button]; mouse("mousedown", x, y, button, shift);
      } else if (op === "release") {
        R.held &= ~masks[button]; mouse("mouseup", x, y, button, false);
      } else if (op === "move") {
        mouse("mousemove", +c[1], +c[2], 0, c.includes("shift"));
      } else {
        R.error = "the page's player cannot do: " + c.join(" ");
        return;
      }
    }
    R.done = true;
  }
  function frame(e) {
    R.scene = e.scene; R.step = e.sc[1];
    if (R.done || R.error) return;
    if (R.waitFrames > 0) {
      if (--R.waitFrames > 0) return;
    } else if (R.until) {
      if (!R.until()) {
        if (++R.untilRan >= R.untilMax) R.error = "not reached after " + R.untilMax + " frames: " + R.cmds[R.i - 1];
        return;
      }
      R.until = null;
    } else {
      return;
    }
    queueMicrotask(run);
  }
  const log = console.log;
  console.log = function (text, ...rest) {
    if (typeof text === "string" && text.startsWith("kiv-trace ")) {
      const line = text.slice(10);
      R.lines.push(line);
      if (line.includes('"ev":"frame"')) frame(JSON.parse(line));
      return;
    }
    return log.call(this, text, ...rest);
  };
  run();
})();
"""


def check(cond, what):
    if not cond:
        raise AssertionError(what)


def native_run(native, files, script, work):
    """The script played headless on the site's files, in a read-only folder as the page has
    them, with a home of its own: the trace's lines and the records written."""
    game = os.path.join(work, "game")
    os.makedirs(game)
    for name, data in files.items():
        os.makedirs(os.path.dirname(os.path.join(game, name)), exist_ok=True)
        with open(os.path.join(game, name), "wb") as f:
            f.write(data)
    os.chmod(game, 0o555)
    home = os.path.join(work, "home")
    os.makedirs(home)
    with open(os.path.join(work, "run.script"), "w") as f:
        f.write("\n".join(script) + "\n")
    env = dict(os.environ, HOME=home)
    env.pop("XDG_DATA_HOME", None)
    r = subprocess.run([native, "--headless", "--data", game, "--seed", str(SEED), "--script",
                        os.path.join(work, "run.script"), "--trace", os.path.join(work, "run.trace")],
                       env=env, capture_output=True, text=True, timeout=300)
    os.chmod(game, 0o755)
    check(r.returncode == 0, f"the native run ended with {r.returncode}: {r.stderr}")
    with open(os.path.join(work, "run.trace"), encoding="utf-8") as f:
        lines = f.read().splitlines()
    records = [os.path.join(d, n) for d, _, names in os.walk(home) for n in names if n == "Kiv.ini"]
    check(len(records) == 1, f"the native run should keep one Kiv.ini in its home: {records}")
    with open(records[0], "rb") as f:
        return lines, f.read()


def same_events(lines, before_frame):
    out = []
    for line in lines:
        e = json.loads(line)
        if e["ev"] in SAME_EVENTS and e["frame"] < before_frame:
            e.pop("t")
            out.append(json.dumps(e, sort_keys=True))
    return out


def browser_run(site, script):
    server = kiv_page.Server(site)
    # A page large enough for the picture at twice its size: every press lands on the game pixel
    # under the pointer through the enlargement.
    page = kiv_page.Page(width=1400, height=1250)
    try:
        page.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                    {"source": PLAYER % json.dumps([c.split() for c in script])})
        page.open(server.url + f"?trace&seed={SEED}")
        end = time.time() + 30
        while time.time() < end and not page.driver.execute_script("return window.kivReplay.scene > 0 || "
                                                                    "window.kivReplay.lines.length > 20;"):
            time.sleep(0.1)
        left, top, w, h, cw, ch = page.canvas_box()
        check((w, h) == (2 * cw, 2 * ch), f"the picture should be shown at twice its size: {w}x{h}")
        end = time.time() + 400
        while time.time() < end:
            done, error = page.driver.execute_script("return [window.kivReplay.done, window.kivReplay.error];")
            check(not error, f"the page's player stopped: {error}")
            if done:
                break
            time.sleep(0.5)
        check(done, "the run did not end within 400 s")
        time.sleep(1)  # the browser's storage is written after the save
        lines = page.driver.execute_script("return window.kivReplay.lines;")
        records = json.loads(next(line for line in lines if '"ev":"records"' in line))["file"]
        ini = bytes(page.driver.execute_script("return Array.from(Module.FS.readFile(arguments[0]));", records))
        bad = [t for t in page.console() if "kiv:" in t and "no sound device" not in t]
        check(not bad, f"the game complained: {bad}")
        return lines, ini
    finally:
        page.close()
        server.close()


def main():
    if len(sys.argv) != 3:
        print("usage: browser_replay_test.py SITEDIR NATIVE_KIV", file=sys.stderr)
        return 2
    site, native = sys.argv[1], sys.argv[2]
    why = kiv_page.skip_reason(site)
    if why:
        print(f"skipped: {why}")
        return 77
    files = kiv_page.site_files(site)
    script = [line for line in challenge_script(files["Kiv.txt"], NAME).split("\n") if line]
    work = tempfile.mkdtemp(prefix="kiv-replay-")
    try:
        native_lines, native_ini = native_run(native, files, script, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    page_lines, page_ini = browser_run(site, script)

    # The native run closes the window after its last frame; the page plays on.
    last = max(json.loads(line)["frame"] for line in native_lines)
    want, got = same_events(native_lines, last), same_events(page_lines, last)
    for i, (a, b) in enumerate(zip(want, got)):
        check(a == b, f"event {i} differs:\n  native {a}\n  page   {b}")
    check(len(want) == len(got), f"native has {len(want)} events before frame {last}, the page {len(got)}")
    stages = [json.loads(e) for e in want if '"ev": "stage"' in e]
    check(len(stages) == 10 and all(s["outcome"] == 0 for s in stages), f"every stage cleared: {stages}")
    check(page_ini == native_ini, f"the records differ:\n  native {native_ini!r}\n  page   {page_ini!r}")
    check(NAME.encode() in page_ini, f"the name entered should be ranked: {page_ini!r}")
    print(f"the browser played {last} frames as the desktop did, to the name entry")
    return 0


if __name__ == "__main__":
    sys.exit(main())
