#!/usr/bin/python3
"""The node runner plays as the desktop program does.

    node_parity_test.py SOURCE_DIR NATIVE_PROGRAM NODE_RUNNER [--game DIR] [--keep DIR]

Each case runs the desktop program (NATIVE_PROGRAM) and the engine compiled for the browser
under node (NODE_RUNNER, kiv_node.js) with the same command line and script, each on its own
fresh copy of a game folder (--data COPY/), and wants the same exit status, the same trace byte
for byte (the copy's path read as GAME/), the same stderr, the same screenshots and the same
files left in the game folder (Kiv.ini above all). The cases: every random player's script kept
in tests/pinned/, challenge runs through all ten stages to the name entry made here from the
game's Kiv.txt (with screenshots, the script's own seed, the overlay, a reload, the wide
window), a game folder changed from the demo and kept for a second run, a damaged one, and a
run with relative paths.

The game folder is the native program's own (the demo beside it) unless --game says otherwise;
--keep DIR keeps every run's files there. Exit status 77 (skipped) when node, the node runner or
the native program is missing.
"""

import argparse
import concurrent.futures
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from demo_scripts import challenge_script  # noqa: E402

SKIP = 77
RUN_TIMEOUT = 600  # seconds for one program run; a hung run fails its case
PLACEHOLDER = b"GAME"
SIDES = ("native", "nodejs")  # also the folder names of the two runs: of equal length


class Failure(Exception):
    pass


# --- Game folders --------------------------------------------------------------------------


def copy_game(game, dest, program):
    """The game's files, without the program and the records it may hold."""
    os.makedirs(dest)
    for name in sorted(os.listdir(game)):
        src = os.path.join(game, name)
        if not os.path.isfile(src) or os.path.samefile(src, program) or name.startswith("Kiv.ini"):
            continue
        shutil.copyfile(src, os.path.join(dest, name))


STAGE1_HELLO = "Ｈｉ，  Ｇ！__Ｃｌｉｃｋ".encode("cp932")
# Kanji the demo's texts do not have (a font cut down to the demo's characters lacks them); the
# second byte of 表 is a backslash in Shift-JIS.
CHANGED_HELLO = "表の猫，  Ｇ！__Ｃｌｉｃｋ".encode("cp932")
DROPPED_VOICE = "V010.wav"  # the voice of stage 1's first line: it goes unspoken
DROPPED_EFFECT = "Q04.wav"  # a sound effect: it stays silent, and the terminal says so
PLAYER_NAME = "Mika"


def make_variant(folder):
    """Another game than the demo: stage 1 greets otherwise, a voice and a sound effect are
    missing, and the records an editor left (LF line ends, a comment, another section) name
    the player."""
    kiv_txt = os.path.join(folder, "Kiv.txt")
    with open(kiv_txt, "rb") as f:
        text = f.read()
    if text.count(STAGE1_HELLO) != 1:
        raise Failure("the game's Kiv.txt has no single stage 1 greeting to change")
    with open(kiv_txt, "wb") as f:
        f.write(text.replace(STAGE1_HELLO, CHANGED_HELLO))
    os.remove(os.path.join(folder, DROPPED_VOICE))
    os.remove(os.path.join(folder, DROPPED_EFFECT))
    with open(os.path.join(folder, "Kiv.ini"), "wb") as f:
        f.write(f"; left by an editor\n[Other]\nKey=1\n[Kiv]\nStage=3\nMyName={PLAYER_NAME}\n".encode())


def make_damaged(folder):
    """A stage 1 picture cut short: the game stops when the stage starts."""
    path = os.path.join(folder, "C01.jpg")
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[: len(data) // 2])


# --- Runs and comparisons ------------------------------------------------------------------


class Step:
    """One program run of a case: the command line before --headless (wideflower), after it,
    and the script, a file to use as it is or a text with @SHOTS@ where screenshots go."""

    def __init__(self, script_file=None, script_text=None, before=(), after=(), relative=False):
        self.script_file = script_file
        self.script_text = script_text
        self.before = list(before)
        self.after = list(after)
        self.relative = relative  # run in the side's folder with relative paths only


class Case:
    def __init__(self, name, steps, setup=None, check=None, status=0):
        self.name = name
        self.steps = steps
        self.setup = setup  # changes the game copy before the first step
        self.check = check  # what the native run must show, so the case tests what it says
        self.status = status  # the exit status of each step


class Run:
    pass


def path_forms(path):
    """How a path may appear in a trace or a message: as it is and as JSON writes it."""
    forms = set()
    for p in (path, path.rstrip("/")):
        forms.add(p.encode())
        forms.add(json.dumps(p)[1:-1].encode())
        forms.add(json.dumps(p, ensure_ascii=False)[1:-1].encode())
    return sorted(forms, key=len, reverse=True)


def neutral(data, data_dir):
    for form in path_forms(data_dir):
        data = data.replace(form, PLACEHOLDER + (b"/" if form.endswith(b"/") else b""))
    return data


def run_side(side, case_dir, step_no, step, argv0, game_dir):
    """Runs one step on one side; `game_dir` is the side's copy (it ends in /)."""
    side_dir = os.path.join(case_dir, side)
    step_dir = os.path.join(side_dir, f"step-{step_no}")
    shots = os.path.join(step_dir, "shots")
    os.makedirs(shots)
    if step.script_text is not None:
        script = os.path.join(step_dir, "run.script")
        with open(script, "w", encoding="utf-8") as f:
            f.write(step.script_text.replace("@SHOTS@", "shots" if step.relative else shots))
    else:
        script = step.script_file
    trace = os.path.join(step_dir, "run.trace")
    if step.relative:  # as a player types it in the folder of the script
        data = os.path.relpath(game_dir, step_dir)
        args = step.before + ["--headless", "--data", data, "--script", "run.script", "--trace", "run.trace"]
    else:
        args = step.before + ["--headless", "--data", game_dir, "--script", script, "--trace", trace]
    args += step.after
    env = dict(os.environ)
    env.setdefault("NODE_PATH", "/usr/share/nodejs")
    started = time.monotonic()
    try:
        proc = subprocess.run(argv0 + args, cwd=step_dir, env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=RUN_TIMEOUT)
    except subprocess.TimeoutExpired:
        raise Failure(f"step {step_no}: {side} did not end within {RUN_TIMEOUT} s")
    r = Run()
    r.seconds = time.monotonic() - started
    r.status = proc.returncode
    r.stdout = proc.stdout
    r.stderr = proc.stderr
    with open(os.path.join(step_dir, "run.stderr"), "wb") as f:
        f.write(proc.stderr)
    r.trace_raw = read(trace)
    r.neutral = (lambda b: b) if step.relative else (lambda b: neutral(b, game_dir))
    r.trace = r.neutral(r.trace_raw) if r.trace_raw is not None else None
    r.shots = folder_files(shots)
    r.game = folder_files(game_dir)
    return r


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def folder_files(folder):
    return {name: read(os.path.join(folder, name)) for name in sorted(os.listdir(folder))
            if os.path.isfile(os.path.join(folder, name))}


def clip(line, limit=300):
    try:
        text = line.decode("utf-8")
    except UnicodeDecodeError:
        text = line.decode("cp932", "replace")  # Kiv.txt's own text
    return text if len(text) <= limit else text[:limit] + " ..."


def first_difference(what, a, b):
    """Where two texts part: the line number and both lines."""
    la, lb = a.split(b"\n"), b.split(b"\n")
    for lines, text in ((la, a), (lb, b)):
        if text.endswith(b"\n"):
            lines.pop()  # no line after the last line end
    for n in range(max(len(la), len(lb))):
        x = la[n] if n < len(la) else None
        y = lb[n] if n < len(lb) else None
        if x != y:
            return (f"{what} line {n + 1} differs:\n"
                    f"      native: {'(end)' if x is None else clip(x)}\n"
                    f"      nodejs: {'(end)' if y is None else clip(y)}")
    return f"{what} differs"


def compare(step_no, a, b):
    """Every way the node run differs from the native one."""
    problems = []
    at = f"step {step_no}: "
    if a.status != b.status:
        problems.append(at + f"exit status native {a.status}, nodejs {b.status}")
    if a.trace is None or b.trace is None:
        if a.trace != b.trace:
            problems.append(at + "only one side wrote a trace")
    elif a.trace != b.trace:
        problems.append(at + first_difference("trace", a.trace, b.trace))
    ea, eb = a.neutral(a.stderr), b.neutral(b.stderr)
    if ea != eb:
        problems.append(at + first_difference("stderr", ea, eb))
    if a.stdout != b.stdout:
        problems.append(at + first_difference("stdout", a.stdout, b.stdout))
    for what, fa, fb in (("screenshot", a.shots, b.shots), ("game folder file", a.game, b.game)):
        for name in sorted(set(fa) | set(fb)):
            if name not in fb:
                problems.append(at + f"{what} {name}: only on the native side")
            elif name not in fa:
                problems.append(at + f"{what} {name}: only on the nodejs side")
            elif fa[name] != fb[name]:
                if name.lower().endswith((".ini", ".txt")):
                    problems.append(at + first_difference(f"{what} {name}", fa[name], fb[name]))
                else:
                    x, y = fa[name], fb[name]
                    n = next((i for i in range(min(len(x), len(y))) if x[i] != y[i]), min(len(x), len(y)))
                    problems.append(at + f"{what} {name} differs from byte {n} on "
                                    f"(native {len(x)} bytes, nodejs {len(y)})")
    return problems


def run_case(case, work, native, node_argv, game):
    case_dir = os.path.join(work, case.name)
    copies = {}
    for side in SIDES:
        copies[side] = os.path.join(case_dir, side, "game folder ü") + "/"
        copy_game(game, copies[side], native)
        if case.setup:
            case.setup(copies[side])
    argv0 = {"native": [native], "nodejs": node_argv}
    problems, times, runs = [], {s: 0.0 for s in SIDES}, []
    for n, step in enumerate(case.steps, 1):
        pair = {side: run_side(side, case_dir, n, step, argv0[side], copies[side]) for side in SIDES}
        for side in SIDES:
            times[side] += pair[side].seconds
        a = pair["native"]
        if a.status != case.status:
            said = a.stderr.strip().split(b"\n")[-1] if a.stderr.strip() else b"(no message)"
            problems.append(f"step {n}: the native run ended with status {a.status}, not {case.status}: "
                            + clip(said))
        problems += compare(n, a, pair["nodejs"])
        runs.append(pair)
    if case.check and not problems:
        problems += case.check(runs)
    return problems, times


# --- What the native runs must show, so that each case tests what it says --------------------


def events(trace, ev):
    key = b'"ev":"' + ev.encode() + b'"'
    return [line for line in trace.split(b"\n") if key in line]


def check_whole_run(shots):
    def check(runs):
        trace = runs[0]["native"].trace
        problems = []
        if len(events(trace, "stage")) != 10:
            problems.append("the challenge run did not leave ten stages: the script no longer fits the game")
        if b'"scene":13' not in trace:
            problems.append("the challenge run did not reach the name entry")
        if shots and len(runs[0]["native"].shots) != shots:
            problems.append(f"{len(runs[0]['native'].shots)} screenshots, not {shots}")
        return problems
    return check


def check_variant(runs):
    first = runs[0]["native"]
    problems = check_whole_run(0)(runs)
    hello = CHANGED_HELLO.decode("cp932").replace("Ｇ", PLAYER_NAME).encode()
    if not any(hello in line for line in events(first.trace, "speech")):
        problems.append("stage 1 did not greet the player from the variant's Kiv.ini with the changed line")
    if any(DROPPED_VOICE.encode() in line for line in events(first.trace, "voice")):
        problems.append(f"the missing {DROPPED_VOICE} was spoken")
    if f"no sound file {DROPPED_EFFECT}".encode() not in first.stderr:
        problems.append(f"the missing {DROPPED_EFFECT} was not reported")
    if b"[Other]" not in first.game.get("Kiv.ini", b""):
        problems.append("the records did not keep the editor's other section")
    return problems


def check_damaged(runs):
    messages = events(runs[0]["native"].trace, "message")
    if not any(b"C01.jpg" in m for m in messages):
        return ["the damaged picture did not stop the game with a message naming it"]
    return []


def check_relative(runs):
    r = runs[0]["native"]
    if b'"file":"../game folder \xc3\xbc/Kiv.ini"' not in r.trace_raw:
        return ["the records event does not show the relative game folder"]
    if not r.shots:
        return ["no screenshot was written beside the script"]
    return []


# --- The cases -----------------------------------------------------------------------------


def cases(source, game):
    pinned = os.path.join(source, "tests", "pinned")
    found = []
    scripts = sorted(n for n in os.listdir(pinned) if n.endswith(".script"))
    for name in scripts:
        stem = name[: -len(".script")]
        seed = stem.rsplit("-", 1)[-1]
        if not (stem.startswith("seed-") and seed.isdigit()):
            raise Failure(f"tests/pinned/{name}: a random player's script is named seed-N.script")
        path = os.path.join(pinned, name)
        found.append(Case(stem, [Step(script_file=path, after=["--seed", seed])]))
        if os.path.exists(os.path.join(pinned, stem + "-wideflower.pin")):
            found.append(Case(stem + "-wideflower", [Step(script_file=path, before=["wideflower"],
                                                          after=["--seed", seed])]))
    if not found:
        raise Failure(f"no scripts in {pinned}")

    kiv_txt = read(os.path.join(game, "Kiv.txt"))
    shots = 2 + 10 + 1 + 2  # opening, menu, each stage, the overlay, ending, name entry
    found.append(Case("challenge-shots", [Step(script_text=challenge_script(
        kiv_txt, "parity", seed="0x2A", shots=True), after=["--seed", "5"])],
        check=check_whole_run(shots)))
    found.append(Case("assisted-wideflower-shots", [Step(script_text=challenge_script(
        kiv_txt, "widest", assist=True, shots=True), before=["wideflower"], after=["--seed", "0x1F"])],
        check=check_whole_run(shots)))
    found.append(Case("variant-game", [
        Step(script_text=challenge_script(kiv_txt, "mikado", seed=7, shots=True)),
        # a random player on the records the first run left
        Step(script_file=os.path.join(pinned, scripts[-1]), after=["--seed", "3"])],
        setup=make_variant, check=check_variant))
    found.append(Case("damaged-game", [Step(script_text=challenge_script(kiv_txt, "broken"),
                                            after=["--seed", "1"])],
                      setup=make_damaged, check=check_damaged, status=1))
    found.append(Case("relative-paths", [Step(
        script_text="seed 9\nframes 20\nscreenshot @SHOTS@/title.bmp\nclick 320 240\nframes 200\n",
        relative=True)], check=check_relative))
    return found


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("source", help="the source folder (its tests/pinned/ scripts)")
    ap.add_argument("native", help="the desktop program")
    ap.add_argument("node_runner", help="kiv_node.js")
    ap.add_argument("--game", help="the game folder (default: the native program's folder)")
    ap.add_argument("--keep", metavar="DIR", help="keep every run's files in DIR")
    opts = ap.parse_args()

    sys.stdout.reconfigure(errors="backslashreplace")  # the paths and texts are not all ASCII
    node = shutil.which("node")
    for missing, what in (
            (node is None, "node is not installed (Debian: nodejs)"),
            (not os.path.isfile(opts.node_runner), f"no node runner {opts.node_runner} (./build.sh web)"),
            (not os.access(opts.native, os.X_OK), f"no native program {opts.native}")):
        if missing:
            print(f"skipped: {what}")
            return SKIP
    native = os.path.abspath(opts.native)
    game = os.path.abspath(opts.game or os.path.dirname(native))
    if not os.path.isfile(os.path.join(game, "Kiv.txt")):
        print(f"skipped: no game in {game} (the bundled game has not been generated)")
        return SKIP
    node_argv = [node, "--no-experimental-fetch", os.path.abspath(opts.node_runner)]

    if opts.keep:
        work = os.path.abspath(opts.keep)
        if os.path.exists(work) and os.listdir(work):
            print(f"--keep {work}: the folder is not empty")
            return 2
        os.makedirs(work, exist_ok=True)
    else:
        work = tempfile.mkdtemp(prefix="kiv-node-parity-")
    try:
        try:
            todo = cases(os.path.abspath(opts.source), game)
        except Failure as e:
            print(f"FAIL: {e}")
            return 1
        print(f"native {native}\nnodejs {' '.join(node_argv)}\ngame   {game}")
        lock = threading.Lock()
        failed = []
        started = time.monotonic()

        def one(case):
            try:
                problems, times = run_case(case, work, native, node_argv, game)
            except Failure as e:
                problems, times = [str(e)], {s: 0.0 for s in SIDES}
            with lock:
                took = f"(native {times['native']:.1f} s, nodejs {times['nodejs']:.1f} s)"
                if problems:
                    failed.append(case.name)
                    print(f"FAIL {case.name} {took}")
                    for p in problems:
                        print("  " + p)
                else:
                    print(f"ok   {case.name} {took}")
                sys.stdout.flush()

        # Two runs at a time at most: each case runs its native and node runs one after the other.
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            for f in [pool.submit(one, c) for c in todo]:
                f.result()
        print(f"{len(todo) - len(failed)} of {len(todo)} cases alike in {time.monotonic() - started:.1f} s")
        if failed:
            if not opts.keep:
                print("--keep DIR keeps the runs' traces for a look with diff")
            return 1
        return 0
    finally:
        if not opts.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
