#!/usr/bin/env python3
"""Plants faults in the C++ sources one at a time and tells which of them the tests miss.

Each fault (a mutant) is one small change of one line, or of two neighbouring lines: a flipped
comparison, a constant shifted by one, two table rows swapped, the mouse buttons swapped, a call
dropped, two calls of a routine run in the other order, and a few more (see OPERATORS). The
planter works on a copy of the tree in its own build folder (no sanitizers, -O1), builds it once,
runs the suite once to see it green, then for each mutant: writes the changed file into the copy,
rebuilds incrementally, runs the GoogleTest binary with --gtest_fail_fast (the tests most likely
to catch a fault of that file first, then the rest) and, if asked, some ctest tests; then puts the
file back. A mutant that does not compile is skipped; one whose code compiles to the same objects
as the original is counted as equivalent at once; one that makes the suite run past the timeout
(a game that hangs) counts as caught.

    tools/mutate/plant.py src/scenes src/records/ending.cpp --max 60 --seed 1
    tools/mutate/plant.py --survivors build-mutate/report.json     # only the last survivors

The report (text on stdout, JSON in --work/report.json) gives per folder: planted, caught,
equivalent, survived, and each survivor as file:line, the operator and the changed line.
"""

import argparse
import collections
import dataclasses
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Tests run first for a file whose path matches the pattern (GoogleTest filters); the others
# follow in a second pass. Only the order changes what is run, never whether.
FOCUS = [
    (r"opening", "Opening*:Menu*:Routing*"),
    (r"menu", "Menu*:Routing*"),
    (r"erasing|panel", "Erasing*:Stage*"),
    (r"face|speech", "Face*:Speech*:Stage*"),
    (r"stage|play_state", "Stage*:Erasing*:GameEndToEnd*"),
    (r"ending", "Ending*:GameEndToEnd*"),
    (r"results", "Results*:GameEndToEnd*:Records*"),
    (r"ranking|records", "Records*:Ranking*:Results*"),
    (r"glyph|typewriter", "GlyphText*:Results*:Ending*"),
]


@dataclasses.dataclass
class Mutant:
    file: str  # relative to the repository
    line: int  # 1-based; the first of the two lines of a swap
    op: str
    before: str  # the line(s) as they were
    after: str  # the line(s) as planted
    span: int = 1  # lines replaced

    def key(self):
        return f"{self.file}:{self.line}:{self.op}:{self.after}"


# ----------------------------------------------------------------------------- finding mutants


def code_part(line):
    """The line with string and character literals blanked and any // comment cut off."""
    out, i, n = [], 0, len(line)
    while i < n:
        c = line[i]
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            out.append(c + " " * (min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
            continue
        if line.startswith("//", i):
            break
        out.append(c)
        i += 1
    return "".join(out)


def skip_line(code):
    s = code.strip()
    return (
        not s
        or s.startswith("#")
        or s.startswith("/*")
        or s.startswith("*")
        or s.startswith("namespace")
        or s.startswith("using ")
        or s.startswith("static_assert")
        or s.startswith("template")
        or s.startswith("}")
        and len(s) <= 3
    )


COMPARE = {" < ": [" >= ", " <= "], " > ": [" <= ", " >= "], " <= ": [" > ", " < "], " >= ": [" < ", " > "],
           " == ": [" != "], " != ": [" == "]}
ARITH = {" + ": [" - "], " - ": [" + "], " * ": [" / "], " / ": [" * "], " += ": [" -= "], " -= ": [" += "],
         " && ": [" || "], " || ": [" && "]}
BUTTONS = {"MouseButton::Left": ["MouseButton::Right", "MouseButton::Middle"],
           "MouseButton::Right": ["MouseButton::Left", "MouseButton::Middle"],
           "MouseButton::Middle": ["MouseButton::Left", "MouseButton::Right"]}
INT_LITERAL = re.compile(r"(?<![\w.])(\d+)(?![\w.])")
CALL_STATEMENT = re.compile(r"^(\s*)((?:[A-Za-z_][\w:]*(?:\.|->))*[A-Z][\w]*\(.*\);)\s*$")
ASSIGN_STATEMENT = re.compile(r"^(\s*)([A-Za-z_][\w.\[\]():,\s>-]*?\s(?:=|\+=|-=)\s.*;)\s*$")
CASE_CALL = re.compile(r"^(\s*(?:case [^:]+|default):\s+)([A-Z]\w*\(.*?\);)(\s*break;\s*)$")
IF_STATEMENT = re.compile(r"^(\s*(?:\} else )?if \()(.*)(\)\s*(?:\{|.*;)\s*)$")
ROW = re.compile(r"^\s*\{.*\},?\s*$")
GROUP = re.compile(r"\{[^{}]*\}")


def balanced(s):
    depth = 0
    for c in s:
        depth += c == "("
        depth -= c == ")"
        if depth < 0:
            return False
    return depth == 0


def replace_at(line, start, old, new):
    return line[:start] + new + line[start + len(old):]


def line_mutants(path, lines, k):
    """Mutants that change line k (0-based) alone."""
    line = lines[k]
    code = code_part(line)
    if skip_line(code):
        return []
    found = []

    def add(op, after):
        if after != line:
            found.append(Mutant(path, k + 1, op, line, after))

    for table, op in ((COMPARE, "flip comparison"), (ARITH, "swap operator")):
        for old, news in table.items():
            for m in re.finditer(re.escape(old), code):
                # Not a template argument list or a stream: clang-format puts spaces round operators.
                if old.strip() in "<>" and ("<<" in code[m.start() - 1:m.end() + 1]):
                    continue
                for new in news:
                    add(op, replace_at(line, m.start(), old, new))
    for m in re.finditer(r"(?<![\w+])(\+\+|--)(?=[\w(])|(?<=[\w)\]])(\+\+|--)(?![\w+])", code):
        tok = m.group(0)
        add("swap increment", replace_at(line, m.start(), tok, "--" if tok == "++" else "++"))
    for m in re.finditer(r"(?<![\w!=])!(?=[\w(])", code):
        add("drop negation", replace_at(line, m.start(), "!", ""))
    for m in re.finditer(r"\b(true|false)\b", code):
        add("flip boolean", replace_at(line, m.start(), m.group(1), "false" if m.group(1) == "true" else "true"))
    for old, news in BUTTONS.items():
        for m in re.finditer(re.escape(old), code):
            for new in news:
                add("swap mouse button", replace_at(line, m.start(), old, new))
    if "#" not in code and not re.search(r"\boperator\b", code):
        for m in INT_LITERAL.finditer(code):
            # Array extents and bit widths of declarations only break the build; leave them.
            before = code[: m.start()].rstrip()
            if before.endswith("[") and re.search(r"\b(array|uint8_t|int16_t|int|char)\b", code[: m.start()]):
                continue
            n = int(m.group(1))
            add("constant + 1", replace_at(line, m.start(), m.group(1), str(n + 1)))
            if n > 0:
                add("constant - 1", replace_at(line, m.start(), m.group(1), str(n - 1)))
    m = IF_STATEMENT.match(code)
    if m and balanced(m.group(2)):
        cond = m.group(2)
        start = len(m.group(1))
        add("negate condition", line[:start] + "!(" + cond + ")" + line[start + len(cond):])
    m = CASE_CALL.match(code)
    if m:
        add("drop call", line[: len(m.group(1))] + line[len(m.group(1)) + len(m.group(2)):])
    elif code.strip().endswith(";") and not code.strip().startswith(("return", "break", "continue", "case", "default")):
        stripped = code.strip()
        is_decl = re.match(r"^(const |constexpr |static |auto |int|uint|bool |char |std::|[A-Z]\w*(<[^>]*>)?[&*]? \w+ =)",
                           stripped)
        if (CALL_STATEMENT.match(code) or ASSIGN_STATEMENT.match(code)) and not is_decl and balanced(stripped):
            indent = len(line) - len(line.lstrip())
            add("drop call" if CALL_STATEMENT.match(code) else "drop assignment", line[:indent] + "{}")
        # "if (c) call;" on one line: drop the call, keep the test.
        m = re.match(r"^(\s*(?:else )?if \(.*\)\s)([A-Z]\w*\(.*\);)\s*$", code)
        if m and balanced(code[: len(m.group(1))]):
            add("drop call", line[: len(m.group(1))] + "{}")
    # Rows of a table written on one line, such as {{306, 104}, {397, 137}, ...}: swap two neighbours.
    groups = list(GROUP.finditer(code))
    for a, b in zip(groups, groups[1:]):
        if a.group(0) != b.group(0) and code[a.end():b.start()].strip() == ",":
            add("swap table rows",
                line[: a.start()] + b.group(0) + line[a.end():b.start()] + a.group(0) + line[b.end():])
    return found


def pair_mutants(path, lines, k):
    """Mutants that swap lines k and k + 1: two table rows, or two calls of a routine."""
    a, b = lines[k], lines[k + 1]
    ca, cb = code_part(a), code_part(b)
    if skip_line(ca) or skip_line(cb) or a == b:
        return []
    indent = lambda s: len(s) - len(s.lstrip())
    out = []
    if ROW.match(ca) and ROW.match(cb) and ca.rstrip().endswith(",") == cb.rstrip().endswith(","):
        out.append(Mutant(path, k + 1, "swap table rows", a + "\n" + b, b + "\n" + a, 2))
    elif (CALL_STATEMENT.match(ca) and CALL_STATEMENT.match(cb) and indent(a) == indent(b)
          and balanced(ca.strip()) and balanced(cb.strip())):
        out.append(Mutant(path, k + 1, "reorder calls", a + "\n" + b, b + "\n" + a, 2))
    return out


def find_mutants(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        lines = f.read().split("\n")
    found, in_block = [], False
    for k in range(len(lines)):
        code = code_part(lines[k])
        # Block comments: skip their lines.
        if in_block:
            in_block = "*/" not in code
            continue
        if "/*" in code and "*/" not in code:
            in_block = True
            continue
        found += line_mutants(path, lines, k)
        if k + 1 < len(lines):
            found += pair_mutants(path, lines, k)
    unique, seen = [], set()
    for m in found:
        if m.key() not in seen:
            seen.add(m.key())
            unique.append(m)
    return unique


def source_files(targets):
    files = []
    for t in targets:
        full = os.path.join(ROOT, t)
        if os.path.isdir(full):
            for dirpath, _, names in os.walk(full):
                for n in sorted(names):
                    if n.endswith((".cpp", ".h")):
                        files.append(os.path.relpath(os.path.join(dirpath, n), ROOT))
        elif os.path.isfile(full):
            files.append(os.path.relpath(full, ROOT))
        else:
            sys.exit(f"plant.py: no such file or folder: {t}")
    return sorted(set(files))


# ----------------------------------------------------------------------------- the copy and its build


def tracked_files():
    out = subprocess.run(["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"], cwd=ROOT,
                         check=True, capture_output=True).stdout.decode()
    return [p for p in out.split("\0") if p and os.path.isfile(os.path.join(ROOT, p))]


def sync_copy(tree):
    """Copies the repository's files into tree, touching only those whose bytes differ."""
    wanted = set(tracked_files())
    for p in wanted:
        src, dst = os.path.join(ROOT, p), os.path.join(tree, p)
        with open(src, "rb") as f:
            data = f.read()
        if os.path.isfile(dst):
            with open(dst, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        with open(dst, "wb") as f:
            f.write(data)
        shutil.copymode(src, dst)
    for dirpath, _, names in os.walk(tree):
        for n in names:
            rel = os.path.relpath(os.path.join(dirpath, n), tree)
            if rel not in wanted:
                os.remove(os.path.join(dirpath, n))


def run(cmd, cwd=None, timeout=None, env=None):
    """Runs cmd in a process group of its own; returns (status, output, timed out)."""
    p = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         start_new_session=True)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out.decode(errors="replace"), False
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        out, _ = p.communicate()
        return -1, out.decode(errors="replace"), True


class Build:
    def __init__(self, work, jobs):
        self.tree = os.path.join(work, "tree")
        self.dir = os.path.join(work, "build")
        self.jobs = jobs

    def configure(self):
        os.makedirs(self.tree, exist_ok=True)
        sync_copy(self.tree)
        if not os.path.exists(os.path.join(self.dir, "CMakeCache.txt")):
            st, out, _ = run(["cmake", "-S", self.tree, "-B", self.dir, "-DCMAKE_BUILD_TYPE=Debug",
                              "-DCMAKE_CXX_FLAGS_DEBUG=-O1", "-DCMAKE_C_FLAGS_DEBUG=-O1", "-DKIV_SANITIZE=OFF",
                              "-DKIV_BENCH=OFF"])
            if st != 0:
                sys.exit("plant.py: cmake failed:\n" + out)

    def test_binaries(self):
        """The GoogleTest binaries this tree builds: the game's tests, and those of the SDL back end."""
        if not hasattr(self, "_binaries"):
            _, out, _ = run(["cmake", "--build", self.dir, "--target", "help"])
            self._binaries = [b for b in ("kiv_tests", "kiv_sdl_tests") if re.search(rf"\b{b}\b", out)]
        return self._binaries

    def build(self):
        st, out, _ = run(["cmake", "--build", self.dir, "-j", str(self.jobs), "--target", *self.test_binaries(), "kiv"])
        return st == 0, out

    def objects(self):
        """Hashes of the objects of the game's code, to tell a mutant that compiles to the same code."""
        hashes = {}
        for dirpath, _, names in os.walk(self.dir):
            if "kivcore.dir" not in dirpath and "kiv.dir" not in dirpath and "kivsdl.dir" not in dirpath:
                continue
            for n in names:
                if n.endswith(".o"):
                    with open(os.path.join(dirpath, n), "rb") as f:
                        hashes[os.path.join(dirpath, n)] = hashlib.sha1(f.read()).hexdigest()
        return hashes


class Suite:
    def __init__(self, build, timeout, ctest, shards):
        self.build = build
        self.timeout = timeout
        self.ctest = ctest
        self.shards = shards
        # The tests write many small game folders: in memory they run in half the time.
        self.tmp = tempfile.mkdtemp(prefix="kiv-mutate-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)

    def gtest(self, filt, deadline):
        """Runs the tests of filt in each binary, in shards side by side; the first failure stops them."""
        for name in self.build.test_binaries():
            result, detail = self.gtest_binary(os.path.join(self.build.dir, name), filt, deadline)
            if result != "pass":
                return result, detail
        return "pass", ""

    def gtest_binary(self, binary, filt, deadline):
        procs = []
        for i in range(self.shards):
            env = dict(os.environ, GTEST_TOTAL_SHARDS=str(self.shards), GTEST_SHARD_INDEX=str(i),
                       ASAN_OPTIONS="detect_leaks=0", TMPDIR=self.tmp)
            procs.append(subprocess.Popen([binary, "--gtest_fail_fast", "--gtest_brief=1", "--gtest_filter=" + filt],
                                          cwd=self.build.dir, env=env, stdout=subprocess.PIPE,
                                          stderr=subprocess.STDOUT, start_new_session=True))
        result, detail = "pass", ""
        outputs = {}
        while procs:
            time.sleep(0.05)
            for p in list(procs):
                if p.poll() is None:
                    continue
                procs.remove(p)
                out = p.stdout.read().decode(errors="replace")
                outputs[p.pid] = out
                if p.returncode != 0:
                    result = "fail"
                    failed = re.findall(r"\[  FAILED  \] (\S+)", out)
                    detail = failed[0] if failed else f"exit {p.returncode}: " + out.strip()[-200:]
            if result == "fail" or time.time() > deadline:
                if result != "fail":
                    result, detail = "timeout", "the suite ran past the timeout"
                for p in procs:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.wait()
                break
        return result, detail

    def run(self, focus):
        """('caught', test) or ('survived', '')."""
        deadline = time.time() + self.timeout
        passes = [focus, "-" + focus] if focus else ["*"]
        for filt in passes:
            result, detail = self.gtest(filt, deadline)
            if result != "pass":
                return "caught", (detail if result == "fail" else "timeout")
        if self.ctest:
            left = max(10, int(deadline - time.time()))
            st, out, timed_out = run(["ctest", "--stop-on-failure", "-R", self.ctest, "--timeout", str(left)],
                                     cwd=self.build.dir, timeout=left + 30, env=dict(os.environ, TMPDIR=self.tmp))
            if timed_out or st != 0:
                failed = re.findall(r"\d+ - (\S+) \(", out)
                return "caught", "ctest " + (failed[0] if failed else "timeout" if timed_out else "failed")
        return "survived", ""


def focus_for(path):
    for pattern, filt in FOCUS:
        if re.search(pattern, path):
            return filt
    return ""


# ----------------------------------------------------------------------------- planting


def known_equivalents(path):
    """The list of faults known to change nothing anyone could see: 'file: operator: changed
    line(s)  # why', the changed lines as the report shows them (so that it survives moved lines)."""
    known = {}
    if not os.path.exists(path):
        return known
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            entry, _, why = line.partition("  # ")
            file, _, rest = entry.partition(": ")
            op, _, text = rest.partition(": ")
            file, _, at = file.strip().partition("@")  # file@line where the text is not unique
            known[(file, int(at) if at else 0, op.strip(), " ".join(text.split()))] = why.strip()
    return known


def known_reason(known, m):
    """Why m is known to be equivalent, or None. A dropped statement is named by what it drops."""
    text = " ".join(shown(m.before if m.op.startswith("drop") else m.after).split())
    return known.get((m.file, m.line, m.op, text), known.get((m.file, 0, m.op, text)))


def plant(build, suite, mutant, originals):
    path = os.path.join(build.tree, mutant.file)
    lines = originals[mutant.file].split("\n")
    k = mutant.line - 1
    if "\n".join(lines[k:k + mutant.span]) != mutant.before:
        return "stale", "the file changed since the mutant was found"
    lines[k:k + mutant.span] = mutant.after.split("\n")
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    ok, out = build.build()
    if not ok:
        errors = [l for l in out.splitlines() if "error" in l]
        return "not compiled", (errors[0] if errors else out.strip()[-200:])
    if build.objects() == build.baseline:
        return "equivalent", "compiles to the same objects"
    return suite.run(focus_for(mutant.file))


def restore(build, file, originals):
    with open(os.path.join(build.tree, file), "w", encoding="utf-8") as f:
        f.write(originals[file])


def folder_of(path):
    return os.path.dirname(path)


def shown(text):
    return text.strip().replace("\n", " / ")


def sample(mutants, per_folder, seed):
    by_folder = collections.defaultdict(list)
    for m in mutants:
        by_folder[folder_of(m.file)].append(m)
    chosen = []
    for folder in sorted(by_folder):
        # Shuffled within each operator, then the operators taken in turn: a small sample still
        # holds every kind of fault, not mostly shifted constants (the commonest kind).
        rng = random.Random(f"{seed}:{folder}")
        by_op = collections.defaultdict(list)
        for m in sorted(by_folder[folder], key=Mutant.key):
            by_op[m.op].append(m)
        queues = []
        for op in sorted(by_op):
            rng.shuffle(by_op[op])
            queues.append(by_op[op])
        group = []
        while any(queues):
            for q in queues:
                if q:
                    group.append(q.pop())
        chosen += group[:per_folder] if per_folder else group
    # Grouped by file, so that each file is compiled back to its original only once.
    return sorted(chosen, key=lambda m: (m.file, m.line, m.op, m.after))


def report(results, out_json, started):
    rows = collections.OrderedDict()
    for r in results:
        f = rows.setdefault(folder_of(r["file"]), collections.Counter())
        f[r["status"]] += 1
    lines = ["", f"{'folder':32} {'planted':>7} {'caught':>6} {'equiv':>5} {'survived':>8} {'not built':>9}  caught"]
    total = collections.Counter()
    for folder, c in rows.items():
        total.update(c)
    for folder, c in list(rows.items()) + [("all", total)]:
        planted = c["caught"] + c["survived"] + c["equivalent"]
        share = c["caught"] / max(1, c["caught"] + c["survived"])
        lines.append(f"{folder:32} {planted:7} {c['caught']:6} {c['equivalent']:5} {c['survived']:8} "
                     f"{c['not compiled']:9}  {100 * share:5.1f} %")
    lines.append("")
    equivalents = [r for r in results if r["status"] == "equivalent"]
    if equivalents:
        lines.append("equivalent:")
        for r in equivalents:
            lines.append(f"  {r['file']}:{r['line']}: {r['op']}: {shown(r['after'])}  ({r['detail']})")
    survivors = [r for r in results if r["status"] == "survived"]
    if survivors:
        lines.append("survivors:")
        for r in survivors:
            lines.append(f"  {r['file']}:{r['line']}: {r['op']}: {shown(r['after'])}")
    lines.append(f"\n{len(results)} mutants in {int(time.time() - started)} s; report in {out_json}")
    with open(out_json, "w", encoding="utf-8") as f:
        json.dump({"results": results}, f, indent=1)
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description="Plant faults one at a time and report the ones the tests miss.")
    ap.add_argument("targets", nargs="*", help="folders or files, relative to the repository")
    ap.add_argument("--max", type=int, default=0, help="at most this many mutants per folder (0: all)")
    ap.add_argument("--seed", default="1", help="seed of the sample (default 1)")
    ap.add_argument("--timeout", type=int, default=0,
                    help="seconds a mutant's tests may take before it counts as caught (default: 3 x the clean run)")
    ap.add_argument("--work", default=os.path.join(ROOT, "build-mutate"), help="copy, build and report folder")
    ap.add_argument("--survivors", metavar="REPORT", help="plant again only the survivors of an earlier report")
    ap.add_argument("--ctest", default="", metavar="REGEX",
                    help="ctest tests (by name) to run too after the GoogleTest binary passed, e.g. xvfb_drag")
    ap.add_argument("--jobs", type=int, default=2, help="build jobs and test shards (default 2)")
    ap.add_argument("--list", action="store_true", help="list the mutants that would be planted, and stop")
    ap.add_argument("--equivalent", default=os.path.join(ROOT, "tools", "mutate", "equivalent.txt"),
                    help="faults known to be equivalent, not planted but counted as such")
    args = ap.parse_args()

    if args.survivors:
        with open(args.survivors, encoding="utf-8") as f:
            old = json.load(f)["results"]
        mutants = [Mutant(r["file"], r["line"], r["op"], r["before"], r["after"], r.get("span", 1))
                   for r in old if r["status"] == "survived"]
    else:
        if not args.targets:
            ap.error("give folders or files, or --survivors REPORT")
        mutants = sample([m for p in source_files(args.targets) for m in find_mutants(p)], args.max, args.seed)
    if args.list:
        for m in mutants:
            print(f"{m.file}:{m.line}: {m.op}: {shown(m.after)}")
        print(f"{len(mutants)} mutants")
        return 0

    started = time.time()
    work = os.path.abspath(args.work)
    build = Build(work, args.jobs)
    build.configure()
    ok, out = build.build()
    if not ok:
        sys.exit("plant.py: the tree does not build as it is:\n" + out[-3000:])
    build.baseline = build.objects()
    suite = Suite(build, 10 ** 6, args.ctest, args.jobs)
    t0 = time.time()
    status, detail = suite.run("")
    clean = time.time() - t0
    if status != "survived":
        sys.exit(f"plant.py: the suite fails without a planted fault ({detail}); fix that first")
    suite.timeout = args.timeout or int(3 * clean) + 30
    print(f"clean run: {clean:.0f} s; timeout per mutant {suite.timeout} s; {len(mutants)} mutants", flush=True)

    known = known_equivalents(args.equivalent)
    originals = {}
    for m in mutants:
        if m.file not in originals:
            with open(os.path.join(build.tree, m.file), encoding="utf-8") as f:
                originals[m.file] = f.read()
    results = []
    out_json = os.path.join(work, "report.json")
    try:
        for i, m in enumerate(mutants):
            t = time.time()
            why = known_reason(known, m)
            if why is not None:
                status, detail = "equivalent", why
            else:
                status, detail = plant(build, suite, m, originals)
            if i + 1 == len(mutants) or mutants[i + 1].file != m.file:
                restore(build, m.file, originals)
            results.append(dict(dataclasses.asdict(m), status=status, detail=detail))
            print(f"[{i + 1}/{len(mutants)}] {status:12} {time.time() - t:5.0f} s  {m.file}:{m.line}: {m.op}: "
                  f"{shown(m.after)[:90]}" + (f"  ({detail[:80]})" if detail and status != "survived" else ""),
                  flush=True)
    finally:
        for f in originals:
            restore(build, f, originals)
        shutil.rmtree(suite.tmp, ignore_errors=True)
    print(report(results, out_json, started))
    return 0


if __name__ == "__main__":
    sys.exit(main())
