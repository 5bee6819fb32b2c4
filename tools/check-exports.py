#!/usr/bin/env python3
"""Checks that shared libraries export no symbol of the standard library or the tests.

    check-exports.py [--nm NM] LIBRARY...

It reads each library's defined dynamic symbols (nm -D --defined-only --demangle),
leaves out those every shared object carries (_init, _fini, __bss_start, ...) and those
sanitizer instrumentation adds, and fails when one belongs to the C++ standard library,
to GoogleTest or to the tests. Which symbols a library exports beyond that is the ABI
baselines' business (tools/abi-check.sh).
"""

import argparse
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("libraries", nargs="+", help="the built shared libraries")
    parser.add_argument("--nm", default="nm", help="the nm program (default: nm)")
    args = parser.parse_args()

    failed = False
    for library in args.libraries:
        if not os.path.isfile(library):
            sys.exit(f"check-exports: no library at {library}; build it first")
        symbols = exported_symbols(args.nm, library)
        forbidden = [(symbol, forbidden_reason(symbol)) for symbol in symbols]
        forbidden = [(symbol, reason) for symbol, reason in forbidden if reason]
        name = os.path.basename(library)
        if not forbidden:
            print(f"check-exports: {name} exports {len(symbols)} symbols, all its own")
            continue
        failed = True
        print(f"check-exports: FAIL {name} exports symbols that are not its own:")
        for symbol, reason in forbidden:
            print(f"  [{reason}] {symbol}")
    if failed:
        print("Find what in the library defines or instantiates them. Out-of-line members of")
        print("the standard library's templates keep default visibility, so the library")
        print("exports every one of them that it instantiates.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
