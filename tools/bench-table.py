#!/usr/bin/env python3
"""Prints the table of a lum-bench run (make bench) from its Google Benchmark JSON.

Every operation is timed on the library ("Library/<op>/<n>") at 4,000, 40,000 and
100,000 documents and, where a host would otherwise write the thing itself, on a
baseline ("Baseline/<op>/<n>"). A row shows the library's time per operation at each
size, the ratio library / baseline, the growth from 4k to 40k and from 40k to 100k
(10 and 2.5 are linear), the targets that apply and whether they are met; the
baseline's own times and growth follow on a row of their own.

A pass stopped at the time cap is shown as "> cap": the figures that follow from it
are bounds, and a target that a bound cannot decide is shown as "?". Standard library
only.

Usage: bench-table.py RESULTS.json
"""

import json
import os
import sys

SIZES = (4000, 40000, 100000)
MAX_RATIO = 1.2
MAX_GROWTH = {(4000, 40000): 12.0, (40000, 100000): 3.0}
LIMIT_SECONDS = 1.0
RATIO, LINEAR, LIMIT = "ratio", "linear", "limit"

# (operation, label, baseline label, targets)
OPERATIONS = [
    ("RegisterAll", "register every document (addDetailDoc/addBomDoc/addNCDoc)",
     "std::unordered_map: insert", [RATIO]),
    ("LookupByKey", "lookup by key: register every registered key again",
     "std::unordered_map: find", [RATIO]),
    ("WalkDocs", "walk: getDerivedDocs", "std::unordered_map: walk", [RATIO]),
    ("ObjectsOfType", "getDerivedObjectsOfType(all)", None, [LINEAR]),
    ("CheckUpdReq", "checkHasUpdReqForDerivedDocs(all)", None, [LINEAR]),
    ("DestroyModel", "destroy the model (no table)", "std::unordered_map: destroy",
     [RATIO, LINEAR]),
    ("OpenUnsized", "(a) open + addDocManObjects, unsized table", None, [LINEAR]),
    ("OpenSized", "(b) open + addDocManObjects, sized table", None, [LINEAR]),
    ("RefreshRows", "(c) refresh every row, open (updateDocManInformations)",
     "std::vector<row>: scan + refresh", [LINEAR, LIMIT]),
    ("RemoveRowsOpen", "(d) remove every row, open (marks)", "std::vector<row>: scan + mark",
     [LINEAR]),
    ("CloseManager", "(e) close, every row marked (erases them)", None, [LINEAR, LIMIT]),
    ("ResetOpen", "(f) resetDerivedDocs(all), table filled, open", None, [LINEAR, LIMIT]),
    ("ResetClosed", "(f) resetDerivedDocs(all), table filled, closed", None, [LINEAR]),
    ("EraseRows", "(g) removeDocManInformations per document, closed",
     "std::vector<row>: scan + erase", [RATIO]),
]
# Quadratic by nature (row by row erasing, linear scans): not run at 100,000.
SKIPPED = {("Library", "EraseRows", 100000), ("Baseline", "EraseRows", 100000),
           ("Baseline", "RefreshRows", 100000), ("Baseline", "RemoveRowsOpen", 100000)}
TO_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


class Figure:
    """A time in seconds; `capped` when it is only a lower bound."""

    def __init__(self, seconds, capped=False, error=None):
        self.seconds, self.capped, self.error = seconds, capped, error


def load(path):
    with open(path, encoding="utf-8") as handle:
        data = json.load(handle)
    runs = {}
    for bench in data.get("benchmarks", []):
        parts = bench["name"].split("/")
        if bench.get("run_type", "iteration") != "iteration" or not parts[2:3][0].isdigit():
            continue
        key = (parts[0], parts[1], int(parts[2]))
        if bench.get("error_occurred"):
            runs[key] = Figure(None, error=bench.get("error_message", "error"))
        else:
            seconds = bench["real_time"] * TO_SECONDS[bench.get("time_unit", "ns")]
            runs[key] = Figure(seconds, float(bench.get("capped", 0.0)) > 0)
    return data.get("context", {}), runs


def quotient(top, bottom):
    """top / bottom as (value, bound): bound ">" or "<" when a side was capped."""
    if top is None or bottom is None or top.seconds is None or bottom.seconds is None:
        return None, None
    if top.capped and bottom.capped or bottom.seconds <= 0:
        return None, None
    return top.seconds / bottom.seconds, (">" if top.capped else "<" if bottom.capped else "")


def show_time(figure, skipped):
    if figure is None:
        return "skipped" if skipped else "-"
    if figure.error is not None:
        return "error"
    seconds = figure.seconds
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if seconds >= scale or unit == "ns":
            return ("> " if figure.capped else "") + f"{seconds / scale:.3g} {unit}"
    return "?"


def show_quotient(value, bound):
    return "" if value is None else (f"{bound} " if bound else "") + f"{value:.2f}"


def judge(value, bound, limit):
    """True (met), False (missed) or None (a bound cannot tell)."""
    if value is None:
        return None
    if bound == ">":
        return False if value >= limit else None
    if bound == "<":
        return True if value <= limit else None
    return value <= limit


def check_row(operation, targets, lib, base):
    """The targets' texts, the misses and whether any could not be decided."""
    wanted, missed, unknown = [], [], False
    verdicts = []
    if RATIO in targets:
        wanted.append(f"lib/base <= {MAX_RATIO:g}")
        for size in SIZES:
            if lib.get(size) is not None or base.get(size) is not None:
                verdicts.append((f"ratio@{size // 1000}k",
                                 judge(*quotient(lib.get(size), base.get(size)), MAX_RATIO)))
    if LINEAR in targets:
        wanted.append("growth <= 12, <= 3")
        for (small, large), limit in MAX_GROWTH.items():
            value, bound = quotient(lib.get(large), lib.get(small))
            verdicts.append((f"growth {large // 1000}k", judge(value, bound, limit)))
    if LIMIT in targets:
        wanted.append(f"<= {LIMIT_SECONDS:g} s at 100k")
        figure = lib.get(100000)
        value = None if figure is None else figure.seconds
        verdicts.append(("1 s", judge(value, ">" if figure and figure.capped else "",
                                      LIMIT_SECONDS)))
    for name, verdict in verdicts:
        if verdict is False:
            missed.append(name)
        unknown = unknown or verdict is None
    return ", ".join(wanted), missed, unknown


def header_lines(context):
    load_avg = context.get("load_avg")
    load_text = " ".join(f"{value:.2f}" for value in load_avg) if load_avg else "unknown"
    peak = int(context.get("lum_peak_rss_kib", "0")) / 1024
    own = int(context.get("lum_model_rss_kib", "0")) / 1024
    return [
        "lum-bench: the library at 4,000, 40,000 and 100,000 documents, against the "
        "baseline a host would otherwise write",
        f"machine: {os.cpu_count()} cores, {context.get('mhz_per_cpu', '?')} MHz; load "
        f"average at start {load_text}; library {context.get('lum_library_commit') or '?'} built "
        f"{context.get('lum_build_type', '?')}; run {context.get('date', '?')}",
        f"memory: peak resident size {peak:.0f} MiB right after building the 100,000-document "
        f"model, of which the model took {own:.0f} MiB",
        f"targets: lib/base <= {MAX_RATIO:g} at every size; linear: growth 4k->40k <= 12 and "
        f"40k->100k <= 3 (linear is 10 and 2.5); open manager at 100k: <= {LIMIT_SECONDS:g} s",
        "times: the median pass of each operation; "
        f"\"> x\": a pass stopped at the cap of {float(context.get('lum_cap_seconds', 'nan')):g} s; "
        "\"skipped\": quadratic by nature (row by row erasing, linear scans), not run at 100k",
    ]


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    context, runs = load(argv[1])
    header = ["operation", "4k", "40k", "100k", "lib/base 4k", "40k", "100k", "growth 40k/4k",
              "100k/40k", "target", "check"]
    table, misses, unchecked = [], 0, 0
    for operation, label, base_label, targets in OPERATIONS:
        lib = {size: runs.get(("Library", operation, size)) for size in SIZES}
        base = {size: runs.get(("Baseline", operation, size)) for size in SIZES}
        if all(figure is None for figure in list(lib.values()) + list(base.values())):
            continue  # not run (a filter left it out)
        wanted, missed, unknown = check_row(operation, targets, lib, base)
        errors = [f.error for f in list(lib.values()) + list(base.values()) if f and f.error]
        check = ("ERROR: " + errors[0] if errors else "MISS " + ", ".join(missed) if missed
                 else "?" if unknown else "ok")
        misses += 1 if missed else 0
        unchecked += 1 if unknown and not missed else 0
        sides = [(label, "Library", lib, True)]
        if base_label:
            sides.append(("  baseline: " + base_label, "Baseline", base, False))
        for name, side, figures, first in sides:
            cells = [name] + [show_time(figures[size], (side, operation, size) in SKIPPED)
                              for size in SIZES]
            cells += [show_quotient(*quotient(lib[size], base[size])) if first and base_label
                      else "" for size in SIZES]
            cells += [show_quotient(*quotient(figures[large], figures[small]))
                      for small, large in MAX_GROWTH]
            cells += [wanted, check] if first else ["", ""]
            table.append(cells)

    widths = [max(len(row[column]) for row in table + [header]) for column in range(len(header))]

    def line(cells):
        return " | ".join(cell.rjust(widths[index]) if 0 < index < 9 else
                          cell.ljust(widths[index]) for index, cell in enumerate(cells)).rstrip()

    print("\n".join(header_lines(context)))
    print()
    print(line(header))
    print("-+-".join("-" * width for width in widths))
    for row in table:
        print(line(row))
    print()
    print(f"{misses} operation(s) miss a target." if misses else "No operation misses a target.")
    if unchecked:
        print(f"{unchecked} operation(s) could not be checked: a figure is capped or missing.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
