#!/usr/bin/env python3
# End to end: runs the reference host derived-docs on a scratch copy of its bundled sample
# and checks what it prints, and reads its --format json and csv back with Python's json
# and csv modules and holds them against its table: same records in the same order, same
# statuses, same summary counts.
#     check_formats.py CASE --sample SAMPLE_FOLDER [--windows-paths] -- PROGRAM...
# PROGRAM is derived-docs, after the emulator that runs it in a cross build. CASE is one
# of CASES. In the scratch copy, detail 201 has a title with a comma, double quotes and
# non-ASCII letters.

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
TIME_LINE = rb"Ran show in \d+\.\d\d s\.\r?\n"
# Table heading -> key, for every column of the table; then every key in order.
SHOW_COLUMNS = {"DOCUMENT": "document", "CATEGORY": "category", "STATUS": "status",
                "DWG NO": "drawing_number", "REV": "revision", "APPROVED": "approved",
                "TITLE": "title", "PROCESS": "process"}
SHOW_KEYS = ["document", "category", "status", "status_code", "drawing_number", "revision",
             "approved", "title", "process"]
CHECK_COLUMNS = {"DOCUMENT": "document", "KIND": "kind", "OBJECTS": "objects",
                 "UPDATE": "update"}
CHECK_KEYS = ["document", "kind", "objects", "update", "update_required"]
# The table `show` prints for the scratch copy: every status and category the sample has;
# A2 requires an update, which will add its second object.
SHOW_EXPECTED = Path(__file__).with_name("sample-show.expected")
# Manifest lines whose paths climb out of the model's folder, and one that stays inside.
OUTSIDE_PATHS = ["..\\..\\outside\\victim.dwg", "..\\NC\\..\\..\\x.nc",
                 "C:\\elsewhere\\Parts.txt"]
OUTSIDE_LINES = (f"detail | 901 | {OUTSIDE_PATHS[0]} | V- | 1 | Outside | - | -\n"
                 f"nc | named | {OUTSIDE_PATHS[1]} | X1 | Outside\n"
                 f"bom | 9 | {OUTSIDE_PATHS[2]} | Outside | 1\n"
                 "detail | 902 | ..\\Details\\..\\Details\\Inside.dwg | I- | 2 | Inside | - | -\n")

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

    # stdout, as bytes, of a run that must succeed and report no library assertion.
    def output(self, *arguments):
        result = self.run(*arguments)
        expect(result.returncode == 0 and b"assertion" not in result.stderr,
               f"{arguments} exited with {result.returncode}: "
               + result.stderr.decode("utf-8", "replace"))
        return result.stdout

    # Exit status and stdout and stderr together, as text.
    def outcome(self, *arguments):
        result = self.run(*arguments)
        return result.returncode, (result.stdout + result.stderr).decode("utf-8", "replace")


# A JSON value as CSV and the table write it.
def as_text(value):
    return ("true" if value else "false") if isinstance(value, bool) else str(value)


# The JSON document, the JSON and CSV bytes and the table, once JSON and CSV are found to
# hold the table's records, keys and order.
def read_formats(host, command, folder, columns, keys):
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
    return document, json_bytes, csv_bytes, table


# A copy of the sample in which detail 201 has SPECIAL_TITLE.
def scratch_model(sample, folder):
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
        document, json_bytes, csv_bytes, table = read_formats(host, "show", model,
                                                              SHOW_COLUMNS, SHOW_KEYS)
        # --time adds one line and changes nothing else: to stderr after JSON, to stdout
        # after the table.
        timed = host.run("show", "--format", "json", "--time", host.folder(model))
        expect(timed.stdout == json_bytes and re.fullmatch(TIME_LINE, timed.stderr),
               f"show --format json --time: the time line belongs on stderr: {timed.stderr}")
        timed = host.run("show", "--time", host.folder(model))
        expect(timed.stdout.startswith(table.encode()) and not timed.stderr
               and re.fullmatch(TIME_LINE, timed.stdout[len(table.encode()):]),
               f"show --time: one time line after the table: {timed.stdout}")
    expect(table.replace("\r\n", "\n") == SHOW_EXPECTED.read_text(encoding="utf-8"),
           f"show: the table differs from {SHOW_EXPECTED.name}:\n{table}")
    rows, summary = document["rows"], table.splitlines()[-1]
    expect(summary == f"{document['documents']} documents, {len(rows)} objects."
           and document["objects"] == len(rows), f"show: summary '{summary}' against the counts")
    pairs = {(row["status"], row["status_code"]) for row in rows}  # one code per word
    expect(len({w for w, _ in pairs}) == len(pairs) == len({c for _, c in pairs})
           and all(isinstance(code, int) for _, code in pairs),
           f"show: status words and codes do not match one to one: {sorted(pairs)}")
    expect([row["document"] for row in rows if row["title"] == SPECIAL_TITLE]
           == ["Details\\C1.dwg"], f"show: JSON has no row titled {SPECIAL_TITLE}")
    # Non-ASCII letters as UTF-8 bytes, not as \u escapes; the CSV field quoted.
    expect("Stütze".encode() in json_bytes and b"\\u00fc" not in json_bytes,
           "show: JSON must write non-ASCII text as UTF-8")
    quoted = '"' + SPECIAL_TITLE.replace('"', '""') + '"'
    expect(quoted.encode() in csv_bytes, f"show: CSV lacks the field {quoted}")


def case_check(host, sample):
    with tempfile.TemporaryDirectory() as scratch:
        document, _, _, table = read_formats(host, "check", scratch_model(sample, scratch),
                                          CHECK_COLUMNS, CHECK_KEYS)
    rows, summary = document["rows"], table.splitlines()[-1]
    required = [row["document"] for row in rows if row["update_required"]]
    expect(summary == f"{len(required)} of {len(rows)} documents require an update."
           and (document["requiring_update"], document["documents"]) == (len(required), len(rows)),
           f"check: summary '{summary}' against the counts")
    expect(all(row["update_required"] is row["update"].startswith("required") for row in rows),
           "check: update_required against update")
    expect(required == ["Details\\A2.dwg"], "check: Details\\A2.dwg alone requires an update")


# The bundled sample's JSON through `python3 -m json.tool`, as a user checks it.
def case_json_tool(host, sample):
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


# A manifest path that climbs out of the model's folder is refused with its line, so that
# no command reads, registers or renames a file outside the model.
def case_manifest_paths(host, sample):
    with tempfile.TemporaryDirectory() as scratch:
        model = scratch_model(sample, scratch)
        with open(model / "manifest.txt", "a", encoding="utf-8", newline="") as manifest:
            manifest.write(OUTSIDE_LINES)
        status, text = host.outcome("show", host.folder(model))
    expect(status == 1, f"show exited with {status}, expected 1: {text}")
    for path in OUTSIDE_PATHS:
        expect(f"the path '{path}' leaves the model's folder" in text, f"{path} taken: {text}")
    expect("Outside" not in text and "Inside" in text, f"the wrong lines were kept: {text}")


# What rename's help promises about NEW is what rename refuses.
def case_rename(host, sample):
    expect("NEW must end in the extension of OLD" in host.output("rename", "--help").decode(),
           "rename --help does not say what NEW must end in")
    with tempfile.TemporaryDirectory() as scratch:
        model = host.folder(scratch_model(sample, scratch))
        status, text = host.outcome("rename", "A1.dwg", "B1", model)
        expect(status == USAGE_EXIT and "NEW must end in the extension of A1.dwg (.dwg)" in text,
               f"rename A1.dwg B1: exit {status}: {text}")
        status, text = host.outcome("rename", "A1.dwg", "B1.DWG", model)
        expect(status == 0, f"rename A1.dwg B1.DWG: exit {status}: {text}")


CASES = {"formats-show": case_show, "formats-check": case_check,
         "formats-json-tool": case_json_tool, "formats-refused": case_refused,
         "manifest-paths": case_manifest_paths, "rename": case_rename}


def main():
    parser = argparse.ArgumentParser(description="Checks the reference host derived-docs.")
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
