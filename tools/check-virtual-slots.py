#!/usr/bin/env python3
"""Checks the slot order of the virtual operations of every exported polymorphic class
against the checked-in slot listing (abi/virtual-slots.txt).

One translation unit that includes LumDerivedDocumentsBase.h is compiled with g++'s
class-layout dump (-fdump-lang-class) and with debug info:

- the dump gives each class's vtable in slot order, inherited entries included, naming
  the function in each slot ("TevDerivedDocument::reset"); it does not give parameter
  types, shows a pure virtual slot as __cxa_pure_virtual and the destructor of an
  abstract class as two 0 entries;
- the debug info (read with readelf, demangled with c++filt) gives the full signature
  and vtable index of every virtual operation a class declares, which fills those gaps.

Exit status: 0 when every class matches, 1 on a mismatch, 2 when the check cannot run.
"""
import argparse
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

def fail(message):
    print(f"check-virtual-slots: {message}", file=sys.stderr)
    sys.exit(2)


def run(command, cwd=None, stdin=None):
    result = subprocess.run(command, cwd=cwd, input=stdin, capture_output=True, text=True)
    if result.returncode != 0:
        fail(f"{' '.join(map(str, command))} failed:\n{result.stderr}")
    return result.stdout


# ---------------------------------------------------------------- signatures

def split_top_level(text):
    """Splits a parameter list at the commas that are not inside <...> or (...)."""
    parts, depth, start = [], 0, 0
    for index, char in enumerate(text):
        if char in "<(":
            depth += 1
        elif char in ">)":
            depth -= 1
        elif char == "," and depth == 0:
            parts.append(text[start:index])
            start = index + 1
    parts.append(text[start:])
    return [part.strip() for part in parts if part.strip()]


def canonical_type(text):
    """One spelling per type: 'const T&' rather than 'T const&', TevArray<T> without
    its default policy arguments, std::int64_t as the demangler spells it (long)."""
    text = re.sub(r"\s+", " ", text.strip())
    text = re.sub(r"\b(?:std::)?int64_t\b|\blong int\b", "long", text)
    result, position = "", 0
    while (match := re.compile(r"\bTevArray<").search(text, position)):
        end, depth = match.end(), 1
        while depth:
            depth += {"<": 1, ">": -1}.get(text[end], 0)
            end += 1
        element = split_top_level(text[match.end():end - 1])[0]
        result += text[position:match.start()] + f"TevArray<{canonical_type(element)}>"
        position = end
    text = result + text[position:]
    if (match := re.fullmatch(r"(.+?) const([*&]+)", text)):
        text = f"const {match.group(1)}{match.group(2)}"
    return re.sub(r"\s+([*&>])", r"\1", text)


def canonical(signature):
    """'name(T1, T2)[ const]' in canonical spelling; 'destructor' unchanged."""
    match = re.fullmatch(r"\s*([~\w]+)\s*\((.*)\)\s*(const)?\s*", signature)
    if not match:
        return signature.strip()
    params = [canonical_type(p) for p in split_top_level(match.group(2)) if p != "void"]
    return f"{match.group(1)}({', '.join(params)})" + (" const" if match.group(3) else "")


# ---------------------------------------------------------------- the listing

def read_listing(path):
    """{class: [operation, ...]} in slot order; the slot numbers must count up from 0."""
    classes, current = {}, None
    for number, line in enumerate(path.read_text().splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        if (header := re.fullmatch(r"\[(\w+)\]", line)):
            current = classes.setdefault(header.group(1), [])
            continue
        slot = re.fullmatch(r"(\d+)\s+(.+)", line)
        if current is None or not slot or int(slot.group(1)) != len(current):
            fail(f"{path}:{number}: expected slot {len(current or [])} of a [Class] block")
        current.append(slot.group(2))
    if not classes:
        fail(f"{path} lists no class")
    return classes


# ---------------------------------------------------------------- the compiler's view

def compile_unit(cxx, std, include_dirs, workdir):
    """Compiles the unit; returns the text of the class-layout dump and the object.
    -femit-class-debug-always and -fno-eliminate-unused-debug-types make g++ describe
    every class in the debug info, also those whose key function lies elsewhere."""
    (workdir / "slots.cpp").write_text('#include "LumDerivedDocumentsBase.h"\n')
    run([cxx, f"-std={std}", "-g", "-femit-class-debug-always",
         "-fno-eliminate-unused-debug-types", "-fdump-lang-class",
         *[f"-I{d}" for d in include_dirs], "-c", "slots.cpp", "-o", "slots.o"], cwd=workdir)
    dumps = list(workdir.glob("*.class"))
    if len(dumps) != 1:
        fail(f"expected one class-layout dump in {workdir}, found {len(dumps)}")
    return dumps[0].read_text(), workdir / "slots.o"


def read_vtables(dump):
    """{class: [(owner, function), ...]}: the vtable entries after offset-to-top and
    type info; owner is None for a pure virtual slot ("pure") and a 0 entry ("0")."""
    vtables = {}
    for match in re.finditer(r"^Vtable for (\w+)\n\S+: \d+ entries\n((?:\d+ .*\n)+)", dump, re.M):
        entries = []
        for line in match.group(2).splitlines()[2:]:
            value = line.split(None, 1)[1].replace("(int (*)(...))", "")
            if "_ZTI" in value:
                fail(f"{match.group(1)}: secondary vtables (multiple bases) are not supported")
            if value in ("0", "__cxa_pure_virtual"):
                entries.append((None, "0" if value == "0" else "pure"))
            else:
                entries.append(tuple(value.rsplit("::", 1)))
        vtables[match.group(1)] = entries
    return vtables


def parse_dies(text):
    """The debugging information entries of readelf's dump: tag, offset, attributes
    and parent of each."""
    die = re.compile(r"^\s*<(\d+)><([0-9a-f]+)>: Abbrev Number: \d+ \((DW_TAG_\w+)\)")
    attr = re.compile(r"^\s*<[0-9a-f]+>\s+(DW_AT_\w+)\s*:\s*(?:\(indirect [^)]*\): )?(.*)$")
    dies, stack = [], []
    for line in text.splitlines():
        if (match := die.match(line)):
            del stack[int(match.group(1)):]
            node = {"tag": match.group(3), "offset": int(match.group(2), 16), "attrs": {},
                    "parent": stack[-1] if stack else None}
            stack.append(node)
            dies.append(node)
        elif stack and (match := attr.match(line)):
            stack[-1]["attrs"][match.group(1)] = match.group(2).strip()
    return dies


def read_debug_info(readelf, cxxfilt, obj):
    """{class: {"bases": [name], "slots": {vtable index: signature}, "dtor": bool}}
    from the class definitions in the debug info."""
    dies = parse_dies(run([readelf, "--debug-dump=info", str(obj)]))
    classes, names = {}, {}
    for node in dies:
        attrs = node["attrs"]
        if node["tag"] in ("DW_TAG_class_type", "DW_TAG_structure_type") \
                and "DW_AT_name" in attrs and "DW_AT_declaration" not in attrs:
            node["info"] = classes.setdefault(attrs["DW_AT_name"],
                                              {"bases": [], "slots": {}, "dtor": False})
            names[node["offset"]] = attrs["DW_AT_name"]
    for node in dies:
        info, attrs = node["parent"] and node["parent"].get("info"), node["attrs"]
        if not info:
            continue
        if node["tag"] == "DW_TAG_inheritance":
            base = re.search(r"<0x([0-9a-f]+)>", attrs["DW_AT_type"]).group(1)
            info["bases"].append(names.get(int(base, 16), "?"))
        elif node["tag"] == "DW_TAG_subprogram" and "DW_AT_virtuality" in attrs:
            if attrs.get("DW_AT_name", "").startswith("~"):
                info["dtor"] = True
            elif "DW_AT_vtable_elem_location" in attrs:
                index = re.search(r"DW_OP_constu: (\d+)", attrs["DW_AT_vtable_elem_location"])
                info["slots"][int(index.group(1))] = attrs["DW_AT_linkage_name"]
    mangled = sorted({m for info in classes.values() for m in info["slots"].values()})
    plain = dict(zip(mangled, run([cxxfilt], stdin="\n".join(mangled) + "\n").splitlines()))
    for info in classes.values():  # "Owner::name(T1, T2) const" -> "name(T1, T2) const"
        info["slots"] = {index: re.sub(r"^[^(]*::(?=~?\w+\()", "", plain[m])
                         for index, m in info["slots"].items()}
    return classes


def found_slots(name, vtables, debug):
    """The class's operations in slot order, the two destructor entries folded."""
    chain = [name]  # the class and its primary bases, nearest first
    while debug.get(chain[-1], {}).get("bases") and len(chain) < 32:
        chain.append(debug[chain[-1]]["bases"][0])
    entries, slots, index = vtables[name], [], 0
    while index < len(entries):
        owner, function = entries[index]
        if function.startswith("~") or function == "0":
            # A destructor takes two entries (complete and deleting object), both 0
            # in the vtable of an abstract class.
            pair = entries[index + 1][1] if index + 1 < len(entries) else None
            if pair != function or (function == "0" and not any(
                    debug.get(c, {}).get("dtor") for c in chain)):
                fail(f"{name}: vtable entries {index} and {index + 1} are not a destructor")
            slots.append("destructor")
            index += 2
            continue
        # A pure virtual slot is declared by the class or one of its bases.
        owners = [owner] if owner else chain
        signature = next((debug[c]["slots"][index] for c in owners
                          if index in debug.get(c, {}).get("slots", {})), None)
        if signature is None or (owner and not signature.startswith(function + "(")):
            fail(f"{name}: vtable entry {index} ({owner or ''}::{function}) does not "
                 "match the debug info")
        slots.append(signature)
        index += 1
    return slots


# ---------------------------------------------------------------- the comparison

def compare(listing, vtables, debug):
    problems = []
    for name, expected in listing.items():
        if name not in vtables:
            problems.append(f"{name}: no vtable in the class-layout dump")
            continue
        found = found_slots(name, vtables, debug)
        for slot in range(max(len(expected), len(found))):
            want = expected[slot] if slot < len(expected) else "nothing"
            got = found[slot] if slot < len(found) else "nothing"
            if canonical(want) != canonical(got):
                problems.append(f"{name} slot {slot}: expected {want}, found {canonical(got)}")
    # A project class that becomes polymorphic must get a block, not slip past.
    for name in sorted(set(vtables) - set(listing)):
        if name.startswith("Tev"):
            problems.append(f"{name}: has virtual operations but no block in the listing")
    return problems


def swap_declarations(include_dirs, header, first, second, workdir):
    """Copies the include dir holding `header` and swaps two one-line virtual
    declarations in the copy; the copy replaces that dir in the returned list."""
    dirs = list(include_dirs)
    position = next((i for i, d in enumerate(dirs) if (Path(d) / header).is_file()), None)
    if position is None:
        fail(f"{header} is in none of the include dirs")
    copy = workdir / "swapped"
    shutil.copytree(dirs[position], copy)
    lines = (copy / header).read_text().splitlines(keepends=True)
    where = []
    for name in (first, second):
        hits = [i for i, l in enumerate(lines) if re.match(rf"\s*virtual\b.*\b{name}\(.*;", l)]
        if len(hits) != 1:
            fail(f"{header}: expected one one-line virtual declaration of {name}")
        where.append(hits[0])
    lines[where[0]], lines[where[1]] = lines[where[1]], lines[where[0]]
    (copy / header).write_text("".join(lines))
    dirs[position] = copy
    return dirs


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--listing", required=True, type=Path,
                        help="the slot listing, abi/virtual-slots.txt")
    parser.add_argument("-I", dest="include_dirs", action="append", required=True)
    parser.add_argument("--cxx", default="g++")
    parser.add_argument("--std", default="c++17")
    parser.add_argument("--readelf", default="readelf")
    parser.add_argument("--cxxfilt", default="c++filt")
    parser.add_argument("--swap", nargs=3, metavar=("HEADER", "OP1", "OP2"),
                        help="check a copy of the headers with two declarations swapped")
    parser.add_argument("--expect-mismatch", metavar="TEXT",
                        help="succeed only when a reported mismatch contains TEXT")
    args = parser.parse_args()

    listing = read_listing(args.listing)
    with tempfile.TemporaryDirectory(prefix="virtual-slots-") as tmp:
        workdir = Path(tmp)
        include_dirs = [Path(d).resolve() for d in args.include_dirs]
        if args.swap:
            include_dirs = swap_declarations(include_dirs, *args.swap, workdir)
        dump, obj = compile_unit(args.cxx, args.std, include_dirs, workdir)
        debug = read_debug_info(args.readelf, args.cxxfilt, obj)
        problems = compare(listing, read_vtables(dump), debug)

    for problem in problems:
        print(problem)
    if args.expect_mismatch is not None:
        caught = any(args.expect_mismatch in p for p in problems)
        print(f"deliberate break {'detected' if caught else 'NOT detected'}: "
              f"expected a mismatch containing '{args.expect_mismatch}'")
        return 0 if caught else 1
    if problems:
        print(f"{len(problems)} slot mismatch(es) against {args.listing}")
        return 1
    print(f"virtual slots match {args.listing}: {len(listing)} classes, "
          f"{sum(map(len, listing.values()))} slots")
    return 0


if __name__ == "__main__":
    sys.exit(main())
