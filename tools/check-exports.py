#!/usr/bin/env python3
"""Checks that a shared library exports exactly the symbols of its checked-in listing.

The listing holds the demangled names of the library's defined dynamic symbols
(nm -D --defined-only --demangle), one a line, sorted, duplicates kept (the complete and
base variants of a constructor or destructor demangle to the same name). The symbols
that every shared object carries (_init, _fini, __bss_start, _edata, _end, ...) and the
ones that sanitizer instrumentation adds are left out.

    check-exports.py --library libX.so --listing exports/X.txt
        fails with a diff when a symbol was added or went missing
    check-exports.py --update --library libX.so --listing exports/X.txt
        rewrites the listing from the library

Both modes fail, whatever the listing says, when the library exports a symbol of the
C++ standard library, of GoogleTest or of the tests.
"""

import argparse
import difflib
import os
import re
import subprocess
import sys

# Present in every shared object, or added by the toolchain: not part of an interface.
ABI_NOISE = {
    "_init",
    "_fini",
    "__bss_start",
    "__bss_start__",
    "__bss_end__",
    "_bss_end__",
    "_edata",
    "_end",
    "__end__",
    "__data_start",
    "data_start",
    "__dso_handle",
    "_IO_stdin_used",
    "__TMC_END__",
    "__GNU_EH_FRAME_HDR",
    "_DYNAMIC",
    "_GLOBAL_OFFSET_TABLE_",
    "__libc_csu_init",
    "__libc_csu_fini",
    "__gmon_start__",
    "_ITM_registerTMCloneTable",
    "_ITM_deregisterTMCloneTable",
}
# Added by AddressSanitizer and UndefinedBehaviorSanitizer instrumentation.
SANITIZER_PREFIXES = ("__odr_asan", "__asan_", "___asan_", "__ubsan_", "__sanitizer_", "__lsan_")

# The demangler's words for the symbols that belong to an entity without being it.
SPECIAL_PREFIXES = (
    "typeinfo name for ",
    "typeinfo fn for ",
    "typeinfo for ",
    "vtable for ",
    "VTT for ",
    "construction vtable for ",
    "guard variable for ",
    "TLS init function for ",
    "TLS wrapper function for ",
    "non-virtual thunk to ",
    "virtual thunk to ",
    "covariant return thunk to ",
    "transaction clone for ",
    "hidden alias for ",
)
REFERENCE_TEMPORARY = re.compile(r"^reference temporary #\d+ for ")

# Scopes that never belong to the interface of one of the project's libraries.
FORBIDDEN_SCOPES = (
    ("std::", "the C++ standard library"),
    ("__gnu_cxx::", "the C++ standard library"),
    ("__gnu_debug::", "the C++ standard library"),
    ("__cxxabiv1::", "the C++ standard library"),
    ("testing::", "GoogleTest"),
    ("lumtest::", "the tests"),
)
GTEST_NAME = re.compile(r"gtest|gmock|^PrintTo$|(^|::)\w+_Test(::|$)|::TestBody$", re.IGNORECASE)

OPENERS = {"<": ">", "(": ")", "[": "]", "{": "}"}
CLOSERS = set(OPENERS.values())


def is_noise(name):
    return name in ABI_NOISE or name.startswith(SANITIZER_PREFIXES)


def owner_of(symbol):
    """Returns the qualified name of the entity a demangled symbol belongs to.

    'typeinfo for std::exception' -> 'std::exception';
    'TevString::toUtf8[abi:cxx11]() const' -> 'TevString::toUtf8[abi:cxx11]';
    'std::string make<int>(int)' -> 'make<int>' (the return type of a template is skipped);
    'TevString::operator std::string() const' -> 'TevString::operator'.
    """
    name = symbol
    stripped = True
    while stripped:
        stripped = False
        for prefix in SPECIAL_PREFIXES:
            if name.startswith(prefix):
                name = name[len(prefix):]
                stripped = True
        match = REFERENCE_TEMPORARY.match(name)
        if match:
            name = name[match.end():]
            stripped = True
    name = name.replace("(anonymous namespace)", "{anonymous}")

    depth = 0
    head_end = len(name)
    last_space = -1
    index = 0
    while index < len(name):
        char = name[index]
        if depth == 0:
            if name.startswith("operator", index) and (index == 0 or name[index - 1] in ": "):
                head_end = index + len("operator")
                break
            if char == "(":
                head_end = index
                break
            if char == " ":
                last_space = index
        if char in OPENERS:
            depth += 1
        elif char in CLOSERS and depth > 0:
            depth -= 1
        index += 1
    head = name[:head_end]
    if last_space >= 0 and last_space < head_end:
        head = name[last_space + 1:head_end]
    return head.strip()


def forbidden_reason(symbol):
    owner = owner_of(symbol)
    for scope, reason in FORBIDDEN_SCOPES:
        if owner.startswith(scope) or ("::" + scope) in owner:
            return reason
    if GTEST_NAME.search(owner):
        return "GoogleTest or the tests"
    return None


def exported_symbols(nm, library):
    try:
        result = subprocess.run(
            [nm, "-D", "--defined-only", "--demangle", library],
            check=False,
            capture_output=True,
            text=True,
        )
    except OSError as error:
        sys.exit(f"check-exports: cannot run {nm}: {error}")
    if result.returncode != 0:
        sys.exit(f"check-exports: {nm} failed on {library}:\n{result.stderr}")
    symbols = []
    for line in result.stdout.splitlines():
        # "<address> <type> <name>", and the name may hold spaces.
        parts = line.split(None, 2)
        if len(parts) != 3:
            continue
        name = re.sub(r"@{1,2}[^@\s]+$", "", parts[2])  # symbol version, if any
        if not is_noise(name):
            symbols.append(name)
    return sorted(symbols)


def read_listing(path):
    with open(path, encoding="utf-8") as listing:
        return [line.rstrip("\n") for line in listing if line.strip() and not line.startswith("#")]


def write_listing(path, library_name, symbols):
    with open(path, "w", encoding="utf-8", newline="\n") as listing:
        stem = re.sub(r"\.so(\.\d+)*$", ".so", library_name)
        listing.write(f"# Dynamic symbols exported by {stem}, demangled and sorted.\n")
        listing.write("# Checked by tools/check-exports.py; rewrite with its --update flag.\n")
        for symbol in symbols:
            listing.write(symbol + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", required=True, help="the built shared library")
    parser.add_argument("--listing", required=True, help="the checked-in listing")
    parser.add_argument("--nm", default="nm", help="the nm program (default: nm)")
    parser.add_argument("--update", action="store_true", help="rewrite the listing")
    args = parser.parse_args()

    if not os.path.isfile(args.library):
        sys.exit(f"check-exports: no library at {args.library}; build it first")
    library_name = os.path.basename(args.library)
    repository = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    listing_name = os.path.relpath(os.path.abspath(args.listing), repository)
    symbols = exported_symbols(args.nm, args.library)

    forbidden = [(symbol, forbidden_reason(symbol)) for symbol in symbols]
    forbidden = [(symbol, reason) for symbol, reason in forbidden if reason]
    if forbidden:
        print(f"FAIL: {library_name} exports symbols that are not its own:")
        for symbol, reason in forbidden:
            print(f"  [{reason}] {symbol}")
        print("No listing can allow them: find what in the library defines or instantiates")
        print("them. Out-of-line members of the standard library's templates keep default")
        print("visibility, so the library exports every one of them that it instantiates.")
        if args.update:
            print(f"{listing_name} was left unchanged.")
        return 1

    if args.update:
        write_listing(args.listing, library_name, symbols)
        print(f"{listing_name}: {len(symbols)} symbols of {library_name}")
        return 0

    if not os.path.isfile(args.listing):
        print(f"FAIL: no listing {listing_name} for {library_name}; create it with --update")
        return 1
    listed = read_listing(args.listing)
    if listed == symbols:
        print(f"{library_name} exports the {len(symbols)} symbols of {listing_name}")
        return 0

    remaining = list(symbols)
    missing = []
    for symbol in listed:
        if symbol in remaining:
            remaining.remove(symbol)
        else:
            missing.append(symbol)
    added = remaining
    print(f"FAIL: the symbols exported by {library_name} differ from {listing_name}:")
    print(f"  {len(added)} added, {len(missing)} missing")
    for line in difflib.unified_diff(
        listed,
        symbols,
        fromfile=f"{listing_name} (listed)",
        tofile=f"{library_name} (exported)",
        n=1,
        lineterm="",
    ):
        print(line)
    print("If the change is intended, rewrite the listings and commit them:")
    print("  cmake --build <build dir> --target update-interface-listings")
    print(f"  (or {sys.argv[0]} --update --library {args.library} --listing {args.listing})")
    return 1


if __name__ == "__main__":
    sys.exit(main())
