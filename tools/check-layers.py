#!/usr/bin/env python3
"""Checks that every dependency of the program runs downwards through its layers.

The layers are the libraries of src/CMakeLists.txt. Which file belongs to which library and which
library links which are read from the CMake files themselves; this script knows only the order
the layers must keep. It fails when
  - a library links one it may not (an upward or sideways link),
  - a source file includes a header of a library its own library does not reach, or
  - a file under src/ belongs to no library or executable.
Usage: tools/check-layers.py [source folder]   (default: src/ beside this script)
"""

import os
import re
import sys

# The layers, each with the libraries it may link directly.
ALLOWED_LINKS = {
    "tov2sf_interfaces": set(),
    "tov2sf_foundation": {"tov2sf_interfaces"},
    "tov2sf_core": {"tov2sf_foundation"},
    "tov2sf_host": {"tov2sf_core"},
    "tov2sf_hostgui": {"tov2sf_host"},
    "tov2sf_gui": {"tov2sf_core"},
    "tov2sf_program": {"tov2sf_gui", "tov2sf_hostgui"},
}

COMMAND = re.compile(
    r"\b(add_library|add_executable|target_sources|target_link_libraries)\s*\(([^)]*)\)", re.S
)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
KEYWORDS = {"STATIC", "SHARED", "OBJECT", "INTERFACE", "PUBLIC", "PRIVATE", "FILE_SET",
            "HEADERS", "BASE_DIRS", "FILES"}


def read_cmake(src):
    """The owner of each file and the links of each target, from the CMake files under src."""
    owner, links, executables = {}, {}, set()
    for folder, _, names in os.walk(src):
        if "CMakeLists.txt" not in names:
            continue
        text = open(os.path.join(folder, "CMakeLists.txt"), encoding="utf-8").read()
        text = re.sub(r"#[^\n]*", "", text)
        for command, body in COMMAND.findall(text):
            words = body.split()
            if not words:
                continue
            target, rest = words[0], [w for w in words[1:] if w not in KEYWORDS]
            if command == "add_executable":
                executables.add(target)
            if command == "target_link_libraries":
                links.setdefault(target, set()).update(w for w in rest if w.startswith("tov2sf_"))
                continue
            for word in rest:
                if word.endswith((".cpp", ".h")):
                    path = os.path.normpath(os.path.join(folder, word))
                    owner[os.path.relpath(path, src)] = target
    return owner, links, executables


def reach(target, links):
    seen, todo = set(), [target]
    while todo:
        for dep in links.get(todo.pop(), ()):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src")
    src = os.path.normpath(src)
    owner, links, executables = read_cmake(src)
    faults = []

    for target, deps in sorted(links.items()):
        if target in executables:
            continue
        if target not in ALLOWED_LINKS:
            faults.append(f"{target}: a library outside the layers")
            continue
        for dep in sorted(deps - ALLOWED_LINKS[target]):
            faults.append(f"{target} links {dep}: not a layer below it")

    files = []
    for folder, _, names in os.walk(src):
        files += [os.path.relpath(os.path.join(folder, n), src)
                  for n in names if n.endswith((".cpp", ".h"))]
    # A header not listed in a library belongs with its source file.
    for rel in files:
        if rel not in owner and rel.endswith(".h"):
            sibling = rel[:-2] + ".cpp"
            if sibling in owner:
                owner[rel] = owner[sibling]

    for rel in sorted(files):
        mine = owner.get(rel)
        if mine is None:
            faults.append(f"{rel}: in no library; list it in its layer's sources")
            continue
        visible = {mine} | reach(mine, links)
        text = open(os.path.join(src, rel), encoding="utf-8").read()
        for included in INCLUDE.findall(text):
            path = os.path.normpath(included)
            if not os.path.exists(os.path.join(src, path)):
                local = os.path.normpath(os.path.join(os.path.dirname(rel), included))
                if not os.path.exists(os.path.join(src, local)):
                    continue  # generated or outside src
                path = local
            theirs = owner.get(path)
            if theirs is not None and theirs not in visible:
                faults.append(f"{rel} ({mine}) includes {path} ({theirs}): an upward dependency")

    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} faults in the layers", file=sys.stderr)
        return 1
    print(f"layers: {len(files)} files, every include runs downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
