#!/usr/bin/env python3
"""Mutation testing of the test suite: which one-line faults of the sources does it catch?

    tools/mutate.py BUILD_DIR [--mutants N] [--seed S] [--json FILE] [--baseline FILE]

BUILD_DIR is a configured Debug build without sanitizers. Each mutant is one seeded
one-line change of the library, the root layer or the host layers: a comparison
flipped, + and - or && and || swapped, an if/while condition negated, a statement
dropped, an integer constant moved by one, true and false swapped. For each one the
file is changed, the build brought up to date and CTest run with a time limit per test
(a hang counts as killed); the file is always restored. The run prints the mutants
killed, survived and not built, the kill rate and every survivor, and writes them as
JSON. With --baseline, the run tries the very mutants of an earlier run's JSON instead of
a sample (those whose line has changed since are skipped as gone), and the mutants that
run killed and this one did not are listed and fail the run.
"""

import argparse
import json
import random
import re
import signal
import subprocess
import sys
from pathlib import Path

SOURCE_DIRS = ["Sources/Base/LUMDerivedDocumentsBase", "Sources/Base/LUMRoots", "host-interfaces"]
BUILD_SECONDS = 600
TEST_SECONDS = 20

SWAPS = [(" == ", " != "), (" != ", " == "), (" < ", " <= "), (" <= ", " < "), (" > ", " >= "),
         (" >= ", " > "), (" + ", " - "), (" - ", " + "), (" && ", " || "), (" || ", " && "),
         ("true", "false"), ("false", "true")]
WORD = re.compile(r"\w")
PURE_SPECIFIER = re.compile(r"\) (const )?= 0;")
INTEGER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.])")
CONDITION = re.compile(r"\b(if|while) \(")
NOT_DROPPED = re.compile(r"^\s*(return|case|default|break|continue|using|typedef|friend|class|"
                         r"struct|enum|template|static_assert|virtual)\b|= (default|delete);")
DECLARATION = re.compile(r"^\s*(?!delete\b)[\w:<>,*& ]*\w[*&]? [*&]?\w+( = .*| \{.*\}|\[.*)?;$")


def masked(line):
    """The code of a line with its literals blanked and its trailing comment cut."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def closing_paren(code, start):
    depth = 0
    for i in range(start, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i
    return None


def mutations(line, body_indent):
    """Every (description, mutated line) of one source line; statements indented less
    than body_indent are declarations, not dropped."""
    code = masked(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("#", "*", "/*")):
        return
    for old, new in SWAPS:
        for i in [m.start() for m in re.finditer(re.escape(old), code)]:
            if old[0] != " " and (WORD.match(code[i - 1:i] or " ") or
                                  WORD.match(code[i + len(old):i + len(old) + 1] or " ")):
                continue
            yield f"'{old.strip()}' -> '{new.strip()}'", line[:i] + new + line[i + len(old):]
    for m in INTEGER.finditer(PURE_SPECIFIER.sub("", code)):
        text = m.group(1)
        value = int(text, 0)
        for moved in [value + 1] + ([value - 1] if value > 0 else []):
            literal = hex(moved).upper().replace("X", "x") if text[:2].lower() == "0x" else str(moved)
            yield f"{text} -> {literal}", line[:m.start(1)] + literal + line[m.end(1):]
    for m in CONDITION.finditer(code):
        end = closing_paren(code, m.end() - 1)
        if end is not None:
            yield (f"negate {m.group(1)}",
                   line[:m.end()] + "!(" + line[m.end():end] + ")" + line[end:])
    indent = line[:len(line) - len(line.lstrip())]
    if (stripped.endswith(";") and len(indent) >= body_indent and not NOT_DROPPED.search(code)
            and not DECLARATION.match(code) and code.count("(") == code.count(")")):
        yield "drop statement", indent + ";\n"


def candidates(root):
    found = []
    for folder in SOURCE_DIRS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            in_comment = False
            for number, line in enumerate(path.read_text().splitlines(keepends=True), 1):
                if in_comment or line.lstrip().startswith("/*"):
                    in_comment = "*/" not in line
                    continue
                for what, mutated in mutations(line, 8 if path.suffix == ".h" else 4):
                    found.append({"file": str(path.relative_to(root)), "line": number,
                                  "mutation": what, "original": line.rstrip("\n"),
                                  "mutated": mutated.rstrip("\n")})
    return found


def run(command, seconds):
    try:
        return subprocess.run(command, capture_output=True, text=True, timeout=seconds)
    except subprocess.TimeoutExpired:
        return None


def try_mutant(root, build, mutant):
    path = root / mutant["file"]
    original = path.read_text()
    lines = original.splitlines(keepends=True)
    lines[mutant["line"] - 1] = mutant["mutated"] + "\n"
    try:
        path.write_text("".join(lines))
        built = run(["cmake", "--build", str(build)], BUILD_SECONDS)
        if built is None or built.returncode != 0:
            return "not built", []
        tested = run(["ctest", "--test-dir", str(build), "--timeout", str(TEST_SECONDS),
                      "--stop-on-failure", "-j", "2"], BUILD_SECONDS)
        if tested is None:
            return "killed", ["(suite timed out)"]
        failed = re.findall(r"^\s*\d+ - (\S+)", tested.stdout, re.M)
        return ("killed", failed) if tested.returncode != 0 else ("survived", [])
    finally:
        path.write_text(original)


def still_there(root, mutant):
    lines = (root / mutant["file"]).read_text().splitlines() if (root / mutant["file"]).exists() else []
    return len(lines) >= mutant["line"] and lines[mutant["line"] - 1] == mutant["original"]


def key(mutant):
    return (mutant["file"], mutant["line"], mutant["mutated"])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("build")
    parser.add_argument("--mutants", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--json", default=None)
    parser.add_argument("--baseline", default=None)
    args = parser.parse_args()
    # A stopped run still restores the file it changed (the finally below).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    root, build = Path(__file__).resolve().parent.parent, Path(args.build).resolve()
    pool = candidates(root)
    sample = random.Random(args.seed).sample(pool, min(args.mutants, len(pool)))
    if args.baseline:
        before = json.loads(Path(args.baseline).read_text())
        args.seed = before["seed"]
        sample = [dict(m) for m in before["mutants"]
                  if m["status"] != "not built" and still_there(root, m)]
        print(f"{len(before['mutants']) - len(sample)} mutants of {args.baseline} are gone")
    sample.sort(key=lambda m: (m["file"], m["line"]))
    for index, mutant in enumerate(sample, 1):
        mutant["status"], mutant["failed"] = try_mutant(root, build, mutant)
        print(f"[{index}/{len(sample)}] {mutant['status']:9} {mutant['file']}:{mutant['line']}"
              f" {mutant['mutation']}", flush=True)
    run(["cmake", "--build", str(build)], BUILD_SECONDS)
    counts = {s: sum(m["status"] == s for m in sample) for s in ("killed", "survived", "not built")}
    built = counts["killed"] + counts["survived"]
    rate = 100.0 * counts["killed"] / built if built else 0.0
    print(f"\nseed {args.seed}, {len(sample)} mutants of {len(pool)}: killed {counts['killed']},"
          f" survived {counts['survived']}, did not build {counts['not built']};"
          f" kill rate {rate:.1f}%")
    for m in sample:
        if m["status"] == "survived":
            print(f"  survived {m['file']}:{m['line']} {m['mutation']}: {m['mutated'].strip()}")
    if args.json:
        Path(args.json).write_text(json.dumps({"seed": args.seed, "pool": len(pool), **counts,
                                               "kill_rate": rate, "mutants": sample}, indent=1))
    lost = []
    if args.baseline:
        killed_now = {key(m) for m in sample if m["status"] == "killed"}
        lost = [m for m in before["mutants"] if m["status"] == "killed" and key(m) not in killed_now
                and still_there(root, m)]
        for m in lost:
            print(f"  killed before, not now: {m['file']}:{m['line']} {m['mutation']}")
        print(f"baseline {args.baseline}: {len(lost)} mutants killed there are not killed now")
    return 1 if lost else 0


if __name__ == "__main__":
    sys.exit(main())
