#!/usr/bin/env python3
"""Fails when code includes or links against the direction of the layers.

Every folder with sources belongs to one area of the table below (the longest folder prefix
wins) and may use only the areas listed for it: by an `#include "area/..."` line in a .h, .cpp
or .c file, or by naming one of that area's CMake targets in target_link_libraries. A folder
that no entry covers fails too, so a new folder is placed in the picture before it is used.
docs/architecture.md shows the same table as a picture.
"""
import os
import re
import sys

# The program's own components and the service interfaces they run on.
BASE = {"platform", "lha", "regedit"}
# What a run or a tool may use: the run state and everything below it.
RUN = BASE | {"core"}
EVERYTHING = None  # programs and tests pick the implementations and may use any area

LAYERS = {
    "platform": {"platform"},
    "lha": {"platform"},
    "regedit": {"platform"},
    # The implementations: the simulated archiver runs lha/ in process, and the Win32 platform's
    # registry editor is regedit/.
    "platform/sim": BASE,
    "platform/win32": BASE,
    "core": {"platform"},
    # The backup set's format, which the backup writes and every reader of a set reads.
    "set": RUN,
    "dbx": RUN,
    # A backup marks in its information file the folder files it copied that are damaged.
    "backup": RUN | {"set", "dbx"},
    "restore": RUN | {"set", "dbx"},
    "tools": RUN | {"set", "dbx"},
    # Reading a set anywhere: the folder files and the archive.
    "setread": RUN | {"set", "dbx"},
    "ui": RUN | {"set", "dbx", "backup", "restore", "tools"},
    "ui/win32": RUN | {"set", "dbx", "backup", "restore", "tools", "ui", "platform/win32"},
    # The help-file writer, a build tool: the code page conversion only.
    "help": {"platform"},
    "app": EVERYTHING,
    "cli": EVERYTHING,
    "demo": EVERYTHING,
    "lha/unlha32": EVERYTHING,
    "tests": EVERYTHING,
    "bench": EVERYTHING,
    "fuzz": EVERYTHING,
}

# Internals of a component: only the component itself (and the tests, fuzzers and benchmarks,
# which may look inside) include them.
INTERNALS = {"lha/codec": "lha", "regedit/codec": "regedit"}
MAY_LOOK_INSIDE = {"tests", "bench", "fuzz"}

SKIPPED_FOLDERS = {".git", "build", "docs", "scripts", "cmake", ".ci"}
SOURCE_SUFFIXES = (".h", ".cpp", ".c")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def area_of(folder):
    """The area of a folder given relative to the root, or None."""
    best = None
    for area in LAYERS:
        if folder == area or folder.startswith(area + "/"):
            if best is None or len(area) > len(best):
                best = area
    return best


def allowed(user, used):
    return used == user or LAYERS[user] is EVERYTHING or used in LAYERS[user]


def walk():
    """Every folder of the tree with its file names, the top's tool folders left out."""
    for folder, subfolders, files in os.walk("."):
        folder = os.path.normpath(folder)
        subfolders[:] = sorted(s for s in subfolders if not (folder == "." and s in SKIPPED_FOLDERS))
        yield folder, files


def source_files():
    for folder, files in walk():
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(folder, name)


def check_includes(problems):
    for path in source_files():
        user = area_of(os.path.dirname(path))
        if user is None:
            problems.append(f"{path}: its folder is in no layer (scripts/check-layers.py)")
            continue
        with open(path, encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match or "/" not in match.group(1):
                    continue
                included = match.group(1)
                used = area_of(os.path.dirname(included)) if os.path.exists(included) else None
                if used is None:
                    continue  # not one of ours (a generated or system header)
                if not allowed(user, used):
                    problems.append(f"{path}:{number}: {user}/ may not include {included}")
                for internal, owner in INTERNALS.items():
                    if (included.startswith(internal + "/") and not path.startswith(owner + "/")
                            and user not in MAY_LOOK_INSIDE):
                        problems.append(f"{path}:{number}: {included} is internal to {owner}/")


def cmake_commands(text, name):
    """The argument lists of every call of a CMake command, comments removed."""
    text = re.sub(r"#[^\n]*", "", text)
    for match in re.finditer(name + r"\s*\(([^)]*)\)", text):
        yield match.group(1).split()


def check_links(problems):
    lists = {}
    for folder, files in walk():
        if "CMakeLists.txt" in files:
            with open(os.path.join(folder, "CMakeLists.txt"), encoding="utf-8") as cmake:
                lists[folder] = cmake.read()
    target_area = {}
    for folder, text in lists.items():
        for command in ("add_library", "add_executable"):
            for arguments in cmake_commands(text, command):
                if arguments and area_of(folder):
                    target_area[arguments[0]] = area_of(folder)
    for folder, text in sorted(lists.items()):
        for arguments in cmake_commands(text, "target_link_libraries"):
            target, libraries = arguments[0], arguments[1:]
            user = target_area.get(target)
            if user is None:
                continue
            for library in libraries:
                used = target_area.get(library)
                if used is not None and not allowed(user, used):
                    problems.append(f"{folder}/CMakeLists.txt: {target} ({user}/) may not link {library} ({used}/)")


def main():
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    problems = []
    check_includes(problems)
    check_links(problems)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"layers: {len(problems)} uses against the direction of the layers (docs/architecture.md)",
              file=sys.stderr)
        return 1
    print("layers: every include and link runs one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
