#!/usr/bin/env python3
"""Writes a large derived-documents folder for timing the reference host (make bench-host).

The folder has the layout of examples/sample-model and a manifest.txt that the reference
host derived-docs reads: DOCUMENTS documents (default 100,000), the first half detail
drawings, the rest NC files, each with its file. Like the sample, it holds every case the
document manager shows, spread evenly:

  - every 100th detail requires an update (its ".upd" file exists) and has one pending
    object, which its next update adds;
  - every 10th detail has two revisions, every 5th is approved;
  - every 50th detail has no file (the manager shows it as missing);
  - every 20th detail forms a duplicate group with the next one;
  - the NC files take the three kinds in turn: DSTV, named and DXF.

The folder is written anew on every run, so it is a scratch folder: it belongs under
build/ and is never committed. A folder that holds anything but such a model is left
alone (the script fails). Standard library only; 100,000 documents take about a second.

Usage: make-big-model.py FOLDER [--documents N]
"""

import argparse
import os
import shutil
import sys

DEFAULT_DOCUMENTS = 100_000

# Detail n has a case when n % EVERY == AT; the offsets keep the cases apart.
UPDATE_EVERY, UPDATE_AT = 100, 7
REVISED_EVERY = 10
APPROVED_EVERY = 5
MISSING_EVERY, MISSING_AT = 50, 25
DUPLICATE_EVERY = 20

# NC kinds in turn: manifest kind, folder, file name and NC name of file number n.
NC_KINDS = (
    ("dstv", "DSTV", "B{n}.nc1", "B{n}"),
    ("named", "Plates", "P{n}.nc", "Plates-{n}"),
    ("dxf", "DXF", "P{n}.dxf", "P{n}.dxf"),
)

# The first line of every manifest this script writes: the mark of a folder it may replace.
MARK = "# A generated model, written by tools/make-big-model.py to time the reference host."
HEADER = """\
{mark}
# {documents} derived documents: {details} detail drawings and {ncs} NC files. The
# record format is described in examples/sample-model/manifest.txt.
"""


def write_file(path, text):
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)


class EmptyFiles:
    """Makes empty files as hard links to a few shared empty files in `scratch`.

    A file system caps the links of one file (ext4 at 65,000), so a new shared file is
    started every LINKS_PER_FILE links. The shared files' own names go in close(): the
    links stay.
    """

    LINKS_PER_FILE = 10_000

    def __init__(self, scratch):
        self._scratch = scratch
        self._links = 0
        self._shared = None
        os.makedirs(scratch)

    def make(self, path):
        if self._links % self.LINKS_PER_FILE == 0:
            self._shared = os.path.join(self._scratch, str(self._links // self.LINKS_PER_FILE))
            write_file(self._shared, "")
        os.link(self._shared, path)
        self._links += 1

    def close(self):
        shutil.rmtree(self._scratch)


def detail_lines(number):
    """The manifest lines of detail `number` (1-based)."""
    approved = "2024-03-04" if number % APPROVED_EVERY == 0 else "-"
    group = f"G{number}" if number % DUPLICATE_EVERY == 0 else "-"
    if number % DUPLICATE_EVERY == 1 and number > 1:
        group = f"G{number - 1}"
    lines = [
        f"detail | {number} | ..\\Details\\D{number}.dwg | D- | {number} | Beam B{number} "
        f"| {approved} | {group}"
    ]
    if number % REVISED_EVERY == 0:
        lines.append(f"revision | {number} | A | 2024-02-12 | First issue | J. Smith | K. Miller")
        lines.append(f"revision | {number} | B | 2024-03-01 | Holes moved | J. Smith | K. Miller")
    if number % UPDATE_EVERY == UPDATE_AT:
        lines.append(f"pending | {number} | D{number}-S1 | Stiffener S1 of beam B{number}")
    return lines


def nc_line(number):
    kind, folder, file_pattern, name_pattern = NC_KINDS[number % len(NC_KINDS)]
    file_name = file_pattern.format(n=number)
    name = name_pattern.format(n=number)
    return f"nc | {kind} | NC\\{folder}\\{file_name} | {name} | Plate P{number}", folder, file_name


def is_replaceable(folder):
    """Whether `folder` is missing, empty, or a model this script wrote."""
    if not os.path.exists(folder) or (os.path.isdir(folder) and not os.listdir(folder)):
        return True
    try:
        with open(os.path.join(folder, "manifest.txt"), encoding="utf-8") as manifest:
            return manifest.readline().rstrip("\n") == MARK
    except OSError:
        return False


def make_model(folder, documents):
    details = documents // 2
    ncs = documents - details
    if os.path.exists(folder):
        shutil.rmtree(folder)
    detail_folder = os.path.join(folder, "Details")
    os.makedirs(detail_folder)
    for _, nc_folder, _, _ in NC_KINDS:
        os.makedirs(os.path.join(folder, "NC", nc_folder))

    files = EmptyFiles(os.path.join(folder, ".empty"))
    lines = [HEADER.format(mark=MARK, documents=documents, details=details, ncs=ncs)]
    for number in range(1, details + 1):
        lines.extend(detail_lines(number))
        if number % MISSING_EVERY != MISSING_AT:
            files.make(os.path.join(detail_folder, f"D{number}.dwg"))
        if number % UPDATE_EVERY == UPDATE_AT:
            files.make(os.path.join(detail_folder, f"D{number}.upd"))
    for number in range(1, ncs + 1):
        line, nc_folder, file_name = nc_line(number)
        lines.append(line)
        files.make(os.path.join(folder, "NC", nc_folder, file_name))
    files.close()
    write_file(os.path.join(folder, "manifest.txt"), "\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", help="the folder to write; replaced when it exists")
    parser.add_argument("--documents", type=int, default=DEFAULT_DOCUMENTS,
                        help=f"number of documents (default {DEFAULT_DOCUMENTS:,})")
    arguments = parser.parse_args()
    if arguments.documents < 2:
        parser.error("--documents must be at least 2")
    if not is_replaceable(arguments.folder):
        parser.error(f"{arguments.folder} holds something else than a generated model; "
                     "name a new folder")
    make_model(arguments.folder, arguments.documents)
    print(f"make-big-model: {arguments.documents:,} documents in {arguments.folder}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
