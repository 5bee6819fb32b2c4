#!/usr/bin/env python3
"""Prints the table of a lum-bench run (make bench) from its Google Benchmark JSON.

Every operation is measured twice in the same run, on the library ("Library/<op>/<n>")
and on its standard-library baseline ("Baseline/<op>/<n>"), at 4,000 and at 40,000
documents. A row shows the library's time per operation at both sizes, its growth
(time at 40,000 / time at 4,000: 10 is linear for a whole pass, 1 for a time per
document or per lookup), the ratio library / baseline at both sizes, the baseline's
times and growth (which tells a growth the machine's caches cause from one of the
library's own), and the targets that apply with a mark where one is missed.

An isolated pass stopped at the time cap is shown as "> cap": its growth and ratio are
then lower bounds. Standard library only.

Usage: bench-table.py RESULTS.json
"""

import json
import os
import shutil
import subprocess
import sys

SMALL, LARGE = 4000, 40000

# Targets: "registry" operations hash once per document: within 1.5x of the baseline
# and growth at most 12 for 10x the documents; "walk" operations within 1.5x of the
# baseline; "growth" operations grow at most 12x for 10x the documents.
REGISTRY, WALK, GROWTH, NONE = "registry", "walk", "growth", None
MAX_RATIO = 1.5
MAX_PASS_GROWTH = 12.0

# (operation, label, target, units); a unit is (name, per item): the time per pass, or
# the time per pass divided by the benchmark's "items" counter.
PASS = ("per pass", False)
OPERATIONS = [
    ("RegisterAll", "register all (addDetailDoc/addBomDoc/addNCDoc)", REGISTRY,
     [PASS, ("per document", True)]),
    ("LookupByKey", "lookup by key: register a registered key again", REGISTRY,
     [PASS, ("per lookup", True)]),
    ("UnregistMiss", "lookup by key: unregistDoc of an unregistered key", REGISTRY,
     [PASS, ("per lookup", True)]),
    ("WalkDocs", "walk: getDerivedDocs", WALK, [PASS, ("per document", True)]),
    ("GetAtId", "getAt by id (16 spread ids)", WALK, [("per call", True)]),
    ("GetAtName", "getAt by name (16 spread names)", WALK, [("per call", True)]),
    ("ObjectsOfTypeAll", "getDerivedObjectsOfType(all)", WALK, [PASS]),
    ("ObjectsOfTypeDetail", "getDerivedObjectsOfType(detail)", WALK, [PASS]),
    ("CheckUpdReq", "checkHasUpdReqForDerivedDocs(all, false)", WALK, [PASS]),
    ("DrawingNumbersLists", "drawing numbers, lists form", NONE, [PASS]),
    ("DrawingNumbersTables", "drawing numbers, tables form", NONE, [PASS]),
    ("OpenAppendRows", "manager: attach, open, append every row (sized table)", GROWTH,
     [PASS]),
    ("OpenAppendRowsStep8", "manager: the same, unsized table (grows by 8)", NONE, [PASS]),
    ("RefreshRows", "manager: refresh every row", GROWTH, [PASS]),
    ("RemoveRowsClosed", "manager: remove every row, closed", NONE, [PASS]),
    ("RemoveRowsOpen", "manager: remove every row, open (marks)", NONE, [PASS]),
    ("CloseManager", "manager: close (erases the marked rows)", GROWTH, [PASS]),
    ("ResetWithTable", "resetDerivedDocs(all), table attached and filled", NONE, [PASS]),
    ("DestroyModel", "destroy the model: resetDerivedDocs(all), no rows", REGISTRY, [PASS]),
]

TO_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


class Figure:
    """One measured time, in seconds; `capped` when it is only a lower bound."""

    def __init__(self, seconds, capped=False, error=None):
        self.seconds = seconds
        self.capped = capped
        self.error = error


def core_count():
    if shutil.which("nproc"):
        try:
            return subprocess.run(["nproc"], capture_output=True, text=True,
                                  check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            pass
    return str(os.cpu_count())


def load(path):
    with open(path, encoding="utf-8") as handle:
        data = json.load(handle)
    runs = {}
    for bench in data.get("benchmarks", []):
        if bench.get("run_type", "iteration") != "iteration":
            continue
        parts = bench["name"].split("/")
        if len(parts) < 3 or not parts[2].isdigit():
            continue
        side, operation, documents = parts[0], parts[1], int(parts[2])
        if bench.get("error_occurred"):
            runs[(side, operation, documents)] = (
                Figure(None, error=bench.get("error_message", "error")), 1.0)
            continue
        seconds = bench["real_time"] * TO_SECONDS[bench.get("time_unit", "ns")]
        items = float(bench.get("items", 1.0)) or 1.0
        capped = float(bench.get("capped", 0.0)) > 0
        runs[(side, operation, documents)] = (Figure(seconds, capped), items)
    return data.get("context", {}), runs


def per_unit(entry, per_item):
    if entry is None:
        return None
    figure, items = entry
    if figure.seconds is None or not per_item:
        return figure
    return Figure(figure.seconds / items, figure.capped)


def show_time(figure):
    if figure is None:
        return "-"
    if figure.error is not None:
        return "error"
    seconds = figure.seconds
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            text = f"{seconds / scale:.3g} {unit}"
            break
    else:
        text = f"{seconds / 1e-9:.3g} ns"
    return ("> " if figure.capped else "") + text


def quotient(top, bottom):
    """top / bottom as (value, kind): kind "exact", "lower" (top capped), or None."""
    if top is None or bottom is None or top.seconds is None or bottom.seconds is None:
        return None, None
    if bottom.seconds <= 0 or bottom.capped:
        return None, None
    return top.seconds / bottom.seconds, ("lower" if top.capped else "exact")


def growth_of(small, large):
    """large / small; a capped small figure leaves it unknown."""
    if small is not None and small.capped:
        return None, None
    return quotient(large, small)


def show_ratio(value, kind):
    if value is None:
        return "?"
    return ("> " if kind == "lower" else "") + f"{value:.2f}"


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    context, runs = load(argv[1])
    load_avg = context.get("load_avg")
    load_text = " ".join(f"{value:.2f}" for value in load_avg) if load_avg else "unknown"
    cap = context.get("lum_cap_seconds", "?")
    print("lum-bench: the library against its standard-library baseline, "
          f"{SMALL:,} and {LARGE:,} documents")
    print(f"machine: {core_count()} cores (nproc), load average at start {load_text}; "
          f"library built {context.get('lum_build_type', '?')}; run {context.get('date', '?')}")
    print(f"targets: registry operations within {MAX_RATIO}x of the baseline and growth "
          f"<= {MAX_PASS_GROWTH:g} per pass (<= {MAX_PASS_GROWTH / 10:g} per document or "
          f"lookup); walks within {MAX_RATIO}x; the manager's opening, refresh and close "
          f"growth <= {MAX_PASS_GROWTH:g}")
    print(f"growth = time at {LARGE:,} / time at {SMALL:,} for the same unit: 10 is linear "
          "per pass, 1 per document; \"> x\": a pass stopped at the cap of "
          f"{cap} s, a lower bound")
    print()

    header = ["operation", "unit", f"time at {SMALL:,}", f"at {LARGE:,}",
              "growth (40k/4k)", f"lib/base at {SMALL:,}", f"at {LARGE:,}",
              f"baseline at {SMALL:,}", f"at {LARGE:,}", "baseline growth", "target", "check"]
    table = []
    misses = 0
    unchecked = 0
    for operation, label, target, units in OPERATIONS:
        for unit, per_item in units:
            lib_small = per_unit(runs.get(("Library", operation, SMALL)), per_item)
            lib_large = per_unit(runs.get(("Library", operation, LARGE)), per_item)
            base_small = per_unit(runs.get(("Baseline", operation, SMALL)), per_item)
            base_large = per_unit(runs.get(("Baseline", operation, LARGE)), per_item)
            if all(figure is None for figure in (lib_small, lib_large, base_small, base_large)):
                continue  # not run (a filter left it out)
            growth = growth_of(lib_small, lib_large)
            ratio_small = quotient(lib_small, base_small)
            ratio_large = quotient(lib_large, base_large)
            max_growth = MAX_PASS_GROWTH if not per_item else MAX_PASS_GROWTH / 10
            if operation in ("GetAtId", "GetAtName"):
                max_growth = None  # a linear walk by contract: no growth target per call
            wanted, missed, unknown = [], [], False
            if target in (REGISTRY, WALK):
                wanted.append(f"ratio <= {MAX_RATIO}")
                for size, (value, _) in ((SMALL, ratio_small), (LARGE, ratio_large)):
                    if value is None:
                        unknown = True
                    elif value > MAX_RATIO:
                        missed.append(f"ratio@{size // 1000}k")
            if target in (REGISTRY, GROWTH) and max_growth is not None:
                wanted.append(f"growth <= {max_growth:g}")
                value, _ = growth
                if value is None:
                    unknown = True
                elif value > max_growth:
                    missed.append("growth")
            errors = [figure.error for figure in (lib_small, lib_large, base_small, base_large)
                      if figure is not None and figure.error is not None]
            if errors:
                check = "ERROR: " + errors[0]
            elif not wanted:
                check = ""
            elif missed:
                check = "MISS " + ",".join(missed)
                misses += 1
            elif unknown:
                check = "?"
                unchecked += 1
            else:
                check = "ok"
            table.append([label if unit == units[0][0] else "", unit,
                          show_time(lib_small), show_time(lib_large), show_ratio(*growth),
                          show_ratio(*ratio_small), show_ratio(*ratio_large),
                          show_time(base_small), show_time(base_large),
                          show_ratio(*growth_of(base_small, base_large)), ", ".join(wanted),
                          check])

    widths = [max(len(row[column]) for row in table + [header]) for column in range(len(header))]
    numeric = set(range(2, 10))

    def line(cells):
        return " | ".join(cell.rjust(widths[index]) if index in numeric
                          else cell.ljust(widths[index]) for index, cell in enumerate(cells))

    print(line(header).rstrip())
    print("-+-".join("-" * width for width in widths))
    for row in table:
        print(line(row).rstrip())
    print()
    print(f"{misses} row(s) miss a target." if misses else "No row misses a target.")
    if unchecked:
        print(f"{unchecked} row(s) could not be checked: a figure is missing.")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
