#!/usr/bin/env python3
"""Runs a build's whole test suite with every C++ test program under valgrind memcheck.

    tools/run-memcheck.py BUILD_DIR [--jobs N] [-- VALGRIND_OPTION...]

The tests are those that CTest lists for BUILD_DIR. Each test program of the build (a
GoogleTest executable whose cases CTest lists one by one) runs once, all its cases in
one process, under valgrind with the given options; its log goes to
BUILD_DIR/memcheck/<program>.log. A program fails when it exits non-zero, which covers
failed cases, memcheck errors and leaked bytes counted as errors, as the options say.
Every other test (a script such as the interface checks) is run by CTest as usual,
without valgrind. Child processes of a test program are not traced.

The run ends with one line per program and a verdict; the log of each failing program
is printed from its first memcheck report, or whole when it has none.
"""

import argparse
import concurrent.futures
import json
import os
import re
import subprocess
import sys
import time

ERROR_EXIT_CODE = 99  # what valgrind answers for errors; also given by the Makefile


def list_tests(build):
    listing = subprocess.run(
        ["ctest", "--test-dir", build, "--show-only=json-v1"],
        check=True, capture_output=True, text=True).stdout
    return json.loads(listing).get("tests", [])


def properties_of(test):
    return {prop["name"]: prop["value"] for prop in test.get("properties", [])}


def is_program_of(build, path):
    """True for an executable built in `build` (not an interpreter or a system tool)."""
    real = os.path.realpath(path)
    if not real.startswith(os.path.realpath(build) + os.sep) or not os.access(real, os.X_OK):
        return False
    with open(real, "rb") as program:
        return program.read(4) == b"\x7fELF"


def split_suite(build, tests):
    """The C++ test programs with what they need to run, and the names of the rest."""
    programs = {}
    others = []
    for test in tests:
        command = test.get("command") or []
        if command and is_program_of(build, command[0]):
            props = properties_of(test)
            entry = programs.setdefault(command[0], {
                "cases": 0,
                "cwd": props.get("WORKING_DIRECTORY", build),
                "env": props.get("ENVIRONMENT", []),
            })
            entry["cases"] += 1
        else:
            others.append(test["name"])
    return programs, others


def run_program(program, entry, valgrind_options, logs):
    name = os.path.basename(program)
    log_path = os.path.join(logs, name + ".log")
    env = dict(os.environ)
    for assignment in entry["env"]:
        key, _, value = assignment.partition("=")
        env[key] = value
    command = ["valgrind", "--log-fd=1", *valgrind_options, program]
    started = time.monotonic()
    with open(log_path, "w") as log:
        log.write("$ " + " ".join(command) + "\n")
        log.flush()
        code = subprocess.run(command, cwd=entry["cwd"], env=env, stdout=log,
                              stderr=subprocess.STDOUT).returncode
    seconds = time.monotonic() - started
    with open(log_path) as log:
        text = log.read()
    summary = re.findall(r"ERROR SUMMARY: (\d+) errors", text)
    errors = int(summary[-1]) if summary else None
    lost = {kind: int(amount.replace(",", "")) for kind, amount in re.findall(
        r"(definitely|indirectly) lost: ([\d,]+) bytes", text)}
    return {"name": name, "cases": entry["cases"], "code": code, "errors": errors,
            "lost": lost, "seconds": seconds, "log": log_path, "text": text}


def verdict(result):
    if result["code"] == 0:
        return "clean"
    parts = []
    if result["errors"]:
        parts.append("%d memcheck errors" % result["errors"])
    lost = sum(result["lost"].values())
    if lost:
        parts.append("%d bytes lost" % lost)
    if result["code"] != ERROR_EXIT_CODE:
        parts.append("exit code %d (failed test cases or a crash)" % result["code"])
    return "FAILED: " + ", ".join(parts)


def report_failure(result):
    """Prints the log from its first memcheck report, else from the first failed test
    case, else whole."""
    text = result["text"]
    first = (re.search(r"^==\d+== (Invalid|Conditional|Use of|Mismatched|Syscall|Source and"
                       r"|Argument|Process terminating|\S.* are (definitely|indirectly) lost)",
                       text, re.MULTILINE)
             or re.search(r"^.*: Failure$", text, re.MULTILINE))
    shown = text[first.start():] if first else text
    print("\n===== %s (%s) =====" % (result["name"], result["log"]))
    print(shown.rstrip())


def main():
    own, valgrind_options = sys.argv[1:], []
    if "--" in own:
        split = own.index("--")
        own, valgrind_options = own[:split], own[split + 1:]
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build")
    parser.add_argument("--jobs", type=int, default=2)
    args = parser.parse_args(own)
    args.valgrind_options = valgrind_options

    tests = list_tests(args.build)
    programs, others = split_suite(args.build, tests)
    if not programs:
        print("memcheck: CTest lists no test program in %s" % args.build, file=sys.stderr)
        return 2
    logs = os.path.join(args.build, "memcheck")
    os.makedirs(logs, exist_ok=True)

    print("memcheck: %d test programs (%d test cases) under valgrind, %d other tests"
          % (len(programs), sum(entry["cases"] for entry in programs.values()), len(others)),
          flush=True)
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        futures = [pool.submit(run_program, program, entry,
                               args.valgrind_options, logs)
                   for program, entry in sorted(programs.items())]
        results = []
        for future in concurrent.futures.as_completed(futures):
            result = future.result()
            results.append(result)
            print("memcheck: %-22s %s (%.0f s)" % (result["name"], verdict(result),
                                                   result["seconds"]), flush=True)

    others_ok = True
    if others:
        pattern = "^(" + "|".join(re.escape(name) for name in others) + ")$"
        others_ok = subprocess.run(
            ["ctest", "--test-dir", args.build, "--output-on-failure", "-j", str(args.jobs),
             "-R", pattern]).returncode == 0

    results.sort(key=lambda result: result["name"])
    failed = [result for result in results if result["code"] != 0]
    for result in failed:
        report_failure(result)

    print("\nmemcheck summary (valgrind %s):" % " ".join(args.valgrind_options))
    for result in results:
        print("  %-22s %4d cases  %6.0f s  %s" % (result["name"], result["cases"],
                                                 result["seconds"], verdict(result)))
    if others:
        print("  %-22s %4d tests  without valgrind  %s" % (
            "other tests", len(others), "passed" if others_ok else "FAILED"))
    if failed or not others_ok:
        print("memcheck: FAILED (%d of %d test programs%s)" % (
            len(failed), len(results), ", other tests failed" if not others_ok else ""))
        return 1
    print("memcheck: passed: every test program ran clean under valgrind, no byte lost")
    return 0


if __name__ == "__main__":
    sys.exit(main())
