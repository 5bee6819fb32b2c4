#!/bin/sh
# Builds the API reference with Doxygen (docs/Doxyfile) into OUTPUT_DIR/html:
#     tools/make-docs.sh [OUTPUT_DIR]        (default: build/docs)
# Any Doxygen warning fails the run: an undocumented public or protected class,
# operation or member, a broken reference, a \param naming no parameter. So does an
# undocumented enum value of a public or protected enum, which Doxygen 1.9 does not
# report itself: its XML output (OUTPUT_DIR/xml) is checked for one. The warnings are
# printed and kept in OUTPUT_DIR/warnings.txt. The version shown is the one of
# project(... VERSION ...) in CMakeLists.txt.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/build/docs}
mkdir -p "$output"
output=$(cd "$output" && pwd) # absolute, as given from the caller's folder
warnings="$output/warnings.txt"
cd "$root"

if ! command -v doxygen >/dev/null 2>&1; then
    echo "make-docs: doxygen is missing (tools/ensure-deps.sh docs installs it)" >&2
    exit 1
fi

version=$(sed -n 's/^project(LumDerivedDocumentsBase VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# Pages of files that no longer exist must not survive from an earlier run.
rm -rf "$output/html" "$output/xml"
rm -f "$warnings"

status=0
{
    cat docs/Doxyfile
    echo "OUTPUT_DIRECTORY = \"$output\""
    echo "WARN_LOGFILE = \"$warnings\""
    echo "PROJECT_NUMBER = \"$version\""
    echo "GENERATE_XML = YES"
    echo "XML_PROGRAMLISTING = NO"
} | doxygen - || status=$?

# Every value of an enum in the reference needs a description of its own (`///<`).
python3 - "$output/xml" "$root" >>"$warnings" <<'PYTHON' || status=$?
import pathlib, re, sys
import xml.etree.ElementTree as ET

xml_dir, root = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
seen = set()
for compound in sorted(xml_dir.glob("*.xml")):
    for enum in ET.parse(compound).getroot().iter("memberdef"):
        if enum.get("kind") != "enum" or enum.get("id") in seen:
            continue
        seen.add(enum.get("id"))
        location = enum.find("location")
        # Files are named as included (STRIP_FROM_PATH): find the header among the inputs.
        path = next(folder / location.get("file") for folder in
                    (root / "Sources/Base/LUMDerivedDocumentsBase/interface",
                     root / "Sources/Base/LUMRoots/Exp", root / "host-interfaces", root)
                    if (folder / location.get("file")).is_file())
        lines = path.read_text(encoding="utf-8").splitlines()
        start = int(location.get("line"))
        for value in enum.iter("enumvalue"):
            if "".join(value.find("briefdescription").itertext()).strip() or "".join(
                    value.find("detaileddescription").itertext()).strip():
                continue
            name = value.findtext("name")
            line = next((number for number in range(start, len(lines) + 1)
                         if re.search(rf"\b{name}\b", lines[number - 1])), start)
            print(f"{path}:{line}: warning: Enum value {name} of enum "
                  f"{enum.findtext('qualifiedname')} is not documented.")
PYTHON

count=0
if [ -s "$warnings" ]; then
    cat "$warnings" >&2
    count=$(grep -c ': \(warning\|error\): ' "$warnings" || true)
fi
if [ "$status" -ne 0 ] || [ -s "$warnings" ]; then
    echo "make-docs: failed (doxygen exit status $status, $count warnings; see $warnings)" >&2
    exit 1
fi
if [ ! -f "$output/html/index.html" ]; then
    echo "make-docs: doxygen wrote no $output/html/index.html" >&2
    exit 1
fi
echo "make-docs: $output/html/index.html written, no warnings (doxygen $(doxygen --version))"
