#!/usr/bin/env python3
"""Checks the tests by mutation: puts one small fault at a time into product
sources (in a scratch copy of the checkout, never the checkout itself), builds
the test programs of that source's subsystem in a scratch build directory kept
between mutants, and reports each fault the tests let through.

A mutant that fails a test or times out is killed; one that passes every test
survived; one that does not compile is counted apart. The last line is the
kill rate, killed / (killed + survived).

    tools/mutate.py app/ProgressRules.h
    tools/mutate.py --since main --sample 20 --seed 1
    tools/mutate.py app/MainWnd.cpp --lines 240-260 --filter 'MainWnd*'
    tools/mutate.py app/*.cpp --sample 8 --per-file > report.txt
    tools/mutate.py app/*.cpp --survivors report.txt --e2e
"""
import argparse
import json
import os
import random
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Source folder -> (test directory under tests/, test programs). The longest
# matching folder wins.
TEST_PROGRAMS = {
    "app": ("app", ["app_tests"]),
    "ui/core": ("core", ["core_tests"]),
    "ui/control": ("control", ["control_tests"]),
    "ui/controls": ("controls", ["controls_tests", "skin_render_tests"]),
    "ui/markup": ("markup", ["markup_tests", "markup_builder_tests"]),
    "ui/render": ("render", ["render_tests"]),
}
E2E = ("e2e", ["e2e_tests"])

SOURCE_SUFFIXES = (".cpp", ".h")
# Lines no mutation touches: preprocessor lines, assertions checked at
# compile time, and logging, whose faults no behaviour shows.
SKIP_LINE = re.compile(r"^\s*(#|static_assert\b|namespace\b|using\b|template\b|case\b|default:|public:|private:|protected:)")
LOGGING = re.compile(r"\b(ProcessLog|OutputDebugString\w*|Log)\s*\(|\bLog\(\)\.|m_log\.")
CALL_STATEMENT = re.compile(r"^(\s*)((?:::)?[A-Za-z_][\w:]*(?:(?:\.|->)[A-Za-z_]\w*)*\s*\(.*\)\s*;)\s*$")
NOT_A_CALL = re.compile(r"^\s*(return|if|while|for|switch|delete|throw|sizeof|static_cast|reinterpret_cast)\b")
CONDITION = re.compile(r"\b(if|while)\s*\(")
FUNCTION_HEAD = re.compile(
    r"^(?:inline\s+|static\s+|constexpr\s+)*([A-Za-z_][\w:<>*& ]*?[\w*&>])\s+[*&]?(?:[A-Za-z_]\w*::)*~?[A-Za-z_]\w*\s*\(")


def run(cmd, **kwargs):
    return subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)


def code_spans(line):
    """Character ranges of `line` outside string and character literals and
    outside a trailing // comment."""
    spans, start, i, quote = [], 0, 0, None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote, start = None, i + 1
        elif c in "\"'":
            spans.append((start, i))
            quote = c
        elif line.startswith("//", i):
            break
        i += 1
    if quote is None:
        spans.append((start, i))
    return [s for s in spans if s[0] < s[1]]


def in_code(spans, at, length):
    return any(a <= at and at + length <= b for a, b in spans)


def matching_paren(line, open_at):
    depth = 0
    for i in range(open_at, len(line)):
        if line[i] == "(":
            depth += 1
        elif line[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


class Mutant:
    def __init__(self, path, line, description, new_line):
        self.path, self.line, self.description, self.new_line = path, line, description, new_line

    def where(self):
        return "%s:%d" % (self.path, self.line)


def line_mutations(text):
    """(description, mutated text) for every mutation of one code line."""
    spans = code_spans(text)
    out = []

    def replace(at, length, new, what):
        out.append((what, text[:at] + new + text[at + length:]))

    for m in CONDITION.finditer(text):
        open_at = m.end() - 1
        close = matching_paren(text, open_at)
        if close > 0 and in_code(spans, m.start(), 1):
            cond = text[open_at + 1:close]
            replace(open_at + 1, len(cond), "!(" + cond + ")", "negate %s condition" % m.group(1))
    for m in re.finditer(r" (==|!=|<=|>=|<|>|&&|\|\|) ", text):
        if not in_code(spans, m.start(), len(m.group(0))):
            continue
        swap = {"==": "!=", "!=": "==", "<": "<=", "<=": "<", ">": ">=", ">=": ">", "&&": "||", "||": "&&"}
        op = m.group(1)
        replace(m.start(1), len(op), swap[op], "%s -> %s" % (op, swap[op]))
    for m in re.finditer(r"(?<![\w.])(\d+)(?![\w.])", text):
        if not in_code(spans, m.start(), len(m.group(1))):
            continue
        value = int(m.group(1))
        replace(m.start(1), len(m.group(1)), str(value + 1), "%d -> %d" % (value, value + 1))
        if value != 0:
            replace(m.start(1), len(m.group(1)), "0", "%d -> 0" % value)
    call = CALL_STATEMENT.match(text)
    statement = call.group(2) if call else ""
    if (call and not NOT_A_CALL.match(text) and statement.count("(") == statement.count(")") and
            "=" not in re.sub(r"[=!<>]=", "", statement)):
        # An empty block stands in for the call: an empty statement after an
        # if would trip -Wempty-body.
        out.append(("delete call " + statement.split("(")[0].strip() + "()", call.group(1) + "{}\n"))
    return out


def function_heads(lines):
    """Line indexes of function bodies' opening braces (alone on a line at the
    left edge) with the return statement that ends such a function at once."""
    heads = {}
    for i, text in enumerate(lines):
        if text.rstrip() != "{":
            continue
        # The signature may run over several lines; its first starts at the edge.
        j = i - 1
        while j > 0 and i - j < 5 and lines[j][:1].isspace():
            j -= 1
        head = FUNCTION_HEAD.match(lines[j]) if j >= 0 else None
        if not head or any(line.rstrip().endswith(";") for line in lines[j:i]):
            continue
        kind = head.group(1).split()[-1]
        if kind in ("return", "else", "new", "delete"):
            continue
        heads[i] = "return;" if kind == "void" else "return {};"
    return heads


def mutants_of(path, line_range):
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        lines = f.readlines()
    heads = function_heads(lines)
    mutants = []
    in_block_comment = False
    in_log = False
    for index, text in enumerate(lines):
        number = index + 1
        stripped = text.strip()
        if in_block_comment:
            in_block_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        # A logging statement may run over several lines; all of them are skipped.
        if in_log or LOGGING.search(text):
            in_log = not stripped.endswith(";")
            continue
        if not stripped or stripped.startswith("//") or SKIP_LINE.match(text):
            continue
        if line_range and not (line_range[0] <= number <= line_range[1]):
            continue
        for description, new_line in line_mutations(text):
            mutants.append(Mutant(path, number, description, new_line))
        if index in heads:
            mutants.append(Mutant(path, number, "return early", text.rstrip("\n") + " " + heads[index] + "\n"))
    return mutants


def test_programs_for(path, with_e2e, chosen=None):
    folder = max((f for f in TEST_PROGRAMS if path.startswith(f + "/")), key=len, default=None)
    if folder is None and not chosen:
        return []
    programs = chosen or [TEST_PROGRAMS[folder]]
    if with_e2e:
        programs.append(E2E)
    return programs


class Scratch:
    """The scratch checkout and build directory, kept between runs so only the
    objects a mutant touches are compiled again."""

    def __init__(self, work, wineprefix):
        self.src = os.path.join(work, "src")
        self.build = os.path.join(work, "build")
        self.wineprefix = wineprefix
        self.environment = {}

    def sync(self):
        files = run(["git", "-C", ROOT, "ls-files", "-z", "--cached", "--others", "--exclude-standard"]).stdout
        for name in filter(None, files.split("\0")):
            source = os.path.join(ROOT, name)
            if not os.path.isfile(source):
                continue
            self.put(name, open(source, "rb").read())
            os.chmod(os.path.join(self.src, name), os.stat(source).st_mode & 0o777)

    def environments(self):
        """Program name -> the environment ctest gives its tests (ENVIRONMENT)."""
        listing = run(["ctest", "--show-only=json-v1"], cwd=self.build).stdout
        found = {}
        for test in json.loads(listing or "{}").get("tests", []):
            # The command is the Wine wrapper, then the program.
            program = next((os.path.basename(c)[:-4] for c in test.get("command", []) if c.endswith(".exe")), "")
            for prop in test.get("properties", []):
                if prop.get("name") == "ENVIRONMENT":
                    found.setdefault(program, {}).update(v.split("=", 1) for v in prop["value"])
        return found

    def put(self, name, data):
        """Writes `data` to the scratch file `name` unless it already holds it;
        a write gives it a fresh time, so the build recompiles what uses it."""
        target = os.path.join(self.src, name)
        if os.path.isfile(target) and open(target, "rb").read() == data:
            return
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)

    def configure(self):
        if os.path.isfile(os.path.join(self.build, "CMakeCache.txt")):
            return True
        deps = os.path.join(os.environ.get("KALVEX_BUILD_DIR", os.path.join(ROOT, "build")), "deps")
        result = run(["cmake", "-S", self.src, "-B", self.build,
                      "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(self.src, "cmake", "mingw-i686.cmake"),
                      "-DKALVEX_DEPS_DIR=" + deps])
        if result.returncode != 0:
            print(result.stdout[-3000:])
        return result.returncode == 0

    def build_targets(self, targets):
        return run(["cmake", "--build", self.build, "-j2", "--target"] + targets).returncode == 0

    def run_program(self, test_dir, program, gtest_filter, timeout):
        """'passed', 'failed' or 'timeout'."""
        env = dict(os.environ, KALVEX_BUILD_DIR=self.build, KALVEX_WINEPREFIX=self.wineprefix)
        env.update(self.environment.get(program, {}))
        cwd = os.path.join(self.build, "tests", test_dir)
        cmd = [os.path.join(self.src, "cmake", "wine-run.sh"), os.path.join(cwd, program + ".exe"), "--gtest_fail_fast"]
        if gtest_filter:
            cmd.append("--gtest_filter=" + gtest_filter)
        process = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True)
        try:
            return "passed" if process.wait(timeout=timeout) == 0 else "failed"
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, 9)
            process.wait()
            # The test program under Wine may outlive the wrapper's group.
            subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            return "timeout"

    def run_tests(self, programs, gtest_filter, timeout):
        for test_dir, names in programs:
            for name in names:
                outcome = self.run_program(test_dir, name, gtest_filter, timeout)
                if outcome != "passed":
                    return outcome
        return "passed"


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("files", nargs="*", help="product sources, relative to the checkout")
    parser.add_argument("--since", metavar="REV", help="mutate the sources changed since REV")
    parser.add_argument("--lines", metavar="A-B", help="only lines A to B (one file)")
    parser.add_argument("--max", type=int, metavar="N", help="run at most N mutants")
    parser.add_argument("--sample", type=int, metavar="N", help="run N mutants drawn at random (see --seed)")
    parser.add_argument("--seed", type=int, default=1, help="seed of --sample (default 1)")
    parser.add_argument("--per-file", action="store_true", help="draw the --sample mutants from each file apart")
    parser.add_argument("--survivors", metavar="REPORT",
                        help="run again only the mutants a saved report lists as survived (e.g. with --e2e)")
    parser.add_argument("--filter", metavar="GTEST_FILTER", help="run only these tests")
    parser.add_argument("--e2e", action="store_true", help="run the end-to-end tests too")
    parser.add_argument("--program", action="append", metavar="DIR:PROGRAM",
                        help="run this test program (tests/DIR/PROGRAM) instead of the folder's own; repeatable, "
                             "for code whose tests live in another subsystem's program")
    parser.add_argument("--timeout", type=int, metavar="S",
                        help="seconds a mutant's test run may take (default: 3 x the unmutated run, at least 60)")
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    parser.add_argument("--work", default=os.path.join(ROOT, "build-mutation"),
                        help="scratch checkout and build directory (default build-mutation/)")
    parser.add_argument("--wineprefix",
                        help="Wine prefix (default: one of its own in the scratch directory, made on first use, so "
                             "the checkout's own test runs cannot meet the mutants' in one registry)")
    return parser.parse_args()


def chosen_files(args):
    files = list(args.files)
    if args.since:
        changed = run(["git", "-C", ROOT, "diff", "--name-only", args.since, "--", "app", "ui"]).stdout.split()
        files += [f for f in changed if os.path.isfile(os.path.join(ROOT, f))]
    files = [os.path.relpath(os.path.abspath(f), ROOT) if os.path.exists(f) else f for f in files]
    return sorted(set(f for f in files if f.endswith(SOURCE_SUFFIXES)))


def main():
    args = parse_args()
    files = chosen_files(args)
    if not files:
        sys.exit("no product sources to mutate")
    line_range = None
    if args.lines:
        a, b = args.lines.split("-")
        line_range = (int(a), int(b))
    chosen = [(d, [p]) for d, p in (item.split(":", 1) for item in args.program)] if args.program else None
    groups = []
    for path in files:
        if not test_programs_for(path, args.e2e, chosen):
            print("%s: no test program for this folder; skipped" % path)
            continue
        groups.append(mutants_of(path, line_range))
    if not args.per_file:
        groups = [[m for group in groups for m in group]]
    if args.survivors:
        wanted = set(re.findall(r"^survived: (\S+?):(\d+): (.+?): (.*)$", open(args.survivors).read(), re.M))
        groups = [[m for m in group if (m.path, str(m.line), m.description, m.new_line.strip()) in wanted]
                  for group in groups]
    mutants = []
    for group in groups:
        if args.sample is not None and args.sample < len(group):
            group = random.Random(args.seed).sample(group, args.sample)
        mutants += sorted(group, key=lambda m: (m.path, m.line))
    if args.max is not None:
        mutants = mutants[:args.max]
    if args.list:
        for m in mutants:
            print("%s: %s: %s" % (m.where(), m.description, m.new_line.strip()))
        print("%d mutants" % len(mutants))
        return

    scratch = Scratch(args.work, args.wineprefix or os.path.join(args.work, "wineprefix"))
    scratch.sync()
    if not scratch.configure():
        sys.exit("the scratch build directory could not be configured")
    scratch.environment = scratch.environments()

    # The unmutated sources must pass, or no mutant can be judged; their time
    # sets the default timeout.
    programs = {}
    for m in mutants:
        programs.setdefault(m.path, test_programs_for(m.path, args.e2e, chosen))
    all_programs = sorted({(d, tuple(n)) for p in programs.values() for d, n in p})
    targets = sorted({n for _, names in all_programs for n in names})
    if not scratch.build_targets(targets):
        sys.exit("the unmutated checkout does not build")
    started = time.time()
    baseline = scratch.run_tests([(d, list(n)) for d, n in all_programs], args.filter, 3600)
    if baseline != "passed":
        sys.exit("the unmutated tests do not pass (%s); no mutant can be judged" % baseline)
    timeout = args.timeout or max(60, int(3 * (time.time() - started)))
    print("%d mutants in %d files; each test run may take %d s" % (len(mutants), len(files), timeout))

    counts = {"killed": 0, "survived": 0, "uncompilable": 0}
    survivors = []
    originals = {path: open(os.path.join(ROOT, path), "rb").read() for path in programs}
    for number, m in enumerate(mutants, 1):
        lines = originals[m.path].decode("utf-8").splitlines(keepends=True)
        lines[m.line - 1] = m.new_line
        scratch.put(m.path, "".join(lines).encode("utf-8"))
        try:
            names = sorted({n for _, ns in programs[m.path] for n in ns})
            if not scratch.build_targets(names):
                outcome, verdict = "does not compile", "uncompilable"
            else:
                outcome = scratch.run_tests(programs[m.path], args.filter, timeout)
                verdict = "survived" if outcome == "passed" else "killed"
        finally:
            scratch.put(m.path, originals[m.path])
        counts[verdict] += 1
        if verdict == "survived":
            survivors.append(m)
        print("[%d/%d] %-12s %s: %s (%s)" % (number, len(mutants), verdict, m.where(), m.description, outcome),
              flush=True)

    print()
    for m in survivors:
        print("survived: %s: %s: %s" % (m.where(), m.description, m.new_line.strip()))
    judged = counts["killed"] + counts["survived"]
    rate = 100.0 * counts["killed"] / judged if judged else 0.0
    print("%d killed, %d survived, %d did not compile" % (counts["killed"], counts["survived"], counts["uncompilable"]))
    print("kill rate: %d/%d = %.1f%%" % (counts["killed"], judged, rate))


if __name__ == "__main__":
    main()
