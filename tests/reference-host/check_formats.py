#!/usr/bin/env python3
"""Reads the reference host's --format json and csv back with Python's json and csv
modules and holds them against its table: same records in the same order, same
statuses, same summary counts.

    check_formats.py CASE --sample SAMPLE_FOLDER [--windows-paths] -- PROGRAM...

PROGRAM is derived-docs, after the emulator that runs it in a cross build. CASE is show,
check, json-tool or refused. show and check run on a scratch copy of the sample whose
detail 201 has a title with a comma, double quotes and non-ASCII letters.
"""

import argparse
import csv
import io
import json
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

USAGE_EXIT = 2
RUN_SECONDS = 120
SPECIAL_TITLE = 'Stütze "A", Achse 3'
# Table heading -> key, for every column of the table; then every key in order.
SHOW_COLUMNS = {"DOCUMENT": "document", "CATEGORY": "category", "STATUS": "status",
                "DWG NO": "drawing_number", "REV": "revision", "APPROVED": "approved",
                "TITLE": "title", "PROCESS": "process"}
SHOW_KEYS = ["document", "category", "status", "status_code", "drawing_number", "revision",
             "approved", "title", "process"]
CHECK_COLUMNS = {"DOCUMENT": "document", "KIND": "kind", "OBJECTS": "objects",
                 "UPDATE": "update"}
CHECK_KEYS = ["document", "kind", "objects", "update", "update_required"]

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


class Host:
    def __init__(self, program, windows_paths):
        self.program, self.windows_paths = program, windows_paths

    def folder(self, path):
        # Wine shows the build machine's root as drive Z:.
        return "Z:" + str(path).replace("/", "\\") if self.windows_paths else str(path)

    def run(self, *arguments):
        return subprocess.run(self.program + list(arguments), capture_output=True,
                              timeout=RUN_SECONDS, check=False)

    def output(self, *arguments):
        """stdout, as bytes, of a run that must succeed."""
        result = self.run(*arguments)
        expect(result.returncode == 0, f"{arguments} exited with {result.returncode}: "
               + result.stderr.decode("utf-8", "replace"))
        return result.stdout


def as_text(value):
    """A JSON value as CSV and the table write it."""
    return ("true" if value else "false") if isinstance(value, bool) else str(value)


def read_formats(host, command, folder, columns, keys):
    """The JSON document, the JSON and CSV bytes and the table's summary line, once JSON
    and CSV are found to hold the table's records, keys and order."""
    table = host.output(command, host.folder(folder)).decode("utf-8")
    expect(host.output(command, "--format", "table", host.folder(folder)).decode() == table,
           f"{command}: --format table differs from the default")
    lines = table.splitlines()
    starts = [lines[0].index(heading) for heading in columns]  # a column starts at its heading
    table_rows = [[line[start:end].strip() for start, end in zip(starts, starts[1:] + [None])]
                  for line in lines[1:-1]]
    json_bytes = host.output(command, "--format", "json", host.folder(folder))
    document = json.loads(json_bytes)
    rows = document["rows"]
    expect(all(list(row) == keys for row in rows), f"{command}: JSON keys differ from {keys}")
    expect([[as_text(row[key]) for key in columns.values()] for row in rows] == table_rows,
           f"{command}: JSON rows differ from the table rows")
    csv_bytes = host.output(command, "--format", "csv", host.folder(folder))
    # No field here holds a line break: every CR and LF is a record's CRLF.
    expect(csv_bytes.endswith(b"\r\n") and not re.search(b"[\r\n]", csv_bytes.replace(b"\r\n", b"")),
           f"{command}: CSV lines must end in CRLF")
    records = list(csv.reader(io.StringIO(csv_bytes.decode("utf-8"), newline=""), strict=True))
    expect(records == [keys] + [[as_text(row[key]) for key in keys] for row in rows],
           f"{command}: CSV header and records differ from the JSON")
    return document, json_bytes, csv_bytes, lines[-1]


def scratch_model(sample, folder):
    """A copy of the sample in which detail 201 has SPECIAL_TITLE."""
    model = Path(folder) / "model"
    shutil.copytree(sample, model)
    manifest = model / "manifest.txt"
    lines = manifest.read_text(encoding="utf-8").splitlines(keepends=True)
    for index, line in enumerate(lines):
        fields = line.split("|")
        if fields[0].strip() == "detail" and fields[1].strip() == "201":
            fields[5] = f" {SPECIAL_TITLE} "
            lines[index] = "|".join(fields)
    manifest.write_text("".join(lines), encoding="utf-8", newline="")
    return model


def case_show(host, sample):
    with tempfile.TemporaryDirectory() as scratch:
        model = scratch_model(sample, scratch)
        document, json_bytes, csv_bytes, summary = read_formats(host, "show", model,
                                                                SHOW_COLUMNS, SHOW_KEYS)
        timed = host.run("show", "--format", "json", "--time", host.folder(model))
        expect(json.loads(timed.stdout) == document and b"Ran show in" in timed.stderr,
               "show --format json --time: the time line belongs on stderr")
    rows = document["rows"]
    expect(summary == f"{document['documents']} documents, {len(rows)} objects."
           and document["objects"] == len(rows), f"show: summary '{summary}' against the counts")
    pairs = {(row["status"], row["status_code"]) for row in rows}  # one code per word
    expect(len({w for w, _ in pairs}) == len(pairs) == len({c for _, c in pairs})
           and all(isinstance(code, int) for _, code in pairs),
           f"show: status words and codes do not match one to one: {sorted(pairs)}")
    expect({"up to date", "needs update", "file missing", "duplicate"} <= {w for w, _ in pairs},
           "show: statuses missing")
    expect([row["document"] for row in rows if row["title"] == SPECIAL_TITLE]
           == ["Details\\C1.dwg"], f"show: JSON has no row titled {SPECIAL_TITLE}")
    # Non-ASCII letters as UTF-8 bytes, not as \u escapes; the CSV field quoted.
    expect("Stütze".encode() in json_bytes and b"\\u00fc" not in json_bytes,
           "show: JSON must write non-ASCII text as UTF-8")
    quoted = '"' + SPECIAL_TITLE.replace('"', '""') + '"'
    expect(quoted.encode() in csv_bytes, f"show: CSV lacks the field {quoted}")


def case_check(host, sample):
    with tempfile.TemporaryDirectory() as scratch:
        document, _, _, summary = read_formats(host, "check", scratch_model(sample, scratch),
                                            CHECK_COLUMNS, CHECK_KEYS)
    rows = document["rows"]
    required = [row["document"] for row in rows if row["update_required"]]
    expect(summary == f"{len(required)} of {len(rows)} documents require an update."
           and (document["requiring_update"], document["documents"]) == (len(required), len(rows)),
           f"check: summary '{summary}' against the counts")
    expect(all(row["update_required"] is row["update"].startswith("required") for row in rows),
           "check: update_required against update")
    expect(required == ["Details\\A2.dwg"], "check: Details\\A2.dwg alone requires an update")


def case_json_tool(host, sample):
    """The bundled sample's JSON through `python3 -m json.tool`, as a user checks it."""
    tool = subprocess.run([sys.executable, "-m", "json.tool"],
                          input=host.output("show", "--format", "json", host.folder(sample)),
                          capture_output=True, timeout=RUN_SECONDS, check=False)
    expect(tool.returncode == 0, "json.tool refuses the output: " + tool.stderr.decode())


def case_refused(host, sample):
    for arguments in [("show", "--format", "xml"), ("check", "--format", "XML"),
                      ("show", "--format"), ("numbers", "--format", "json")]:
        result = host.run(*arguments, host.folder(sample))
        expect(result.returncode == USAGE_EXIT and not result.stdout,
               f"{arguments}: exit {result.returncode}, expected {USAGE_EXIT} and no output")
    message = host.run("show", "--format", "xml").stderr.decode()
    expect("unknown format 'xml' (expected table, json or csv)" in message, message)
    for command in ("show", "check"):
        expect("--format table|json|csv" in host.output(command, "--help").decode(),
               f"{command} --help does not name --format")
    expect("--format" in host.output("--help").decode(), "--help does not name --format")


CASES = {"show": case_show, "check": case_check, "json-tool": case_json_tool,
         "refused": case_refused}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--sample", required=True, type=Path)
    parser.add_argument("--windows-paths", action="store_true")
    parser.add_argument("program", nargs="+")
    arguments = parser.parse_args()
    CASES[arguments.case](Host(arguments.program, arguments.windows_paths), arguments.sample)
    for failure in failures:
        print("FAILED:", failure)
    print(f"{arguments.case}: {'failed' if failures else 'passed'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
