#!/usr/bin/env python3
"""Checks what the compiler cannot see of the program's layers.

Each top folder under src/ is one library and its own include root, handed only to the libraries
that link it, so an include that runs upwards already fails to compile:

  src/interfaces  tov2sf_interfaces  host-service interfaces, the error type   (Qt Core, Gui)
  src/foundation  tov2sf_foundation  records, code page, number and date rules, file guards
  src/core        tov2sf_core        the domain, a folder per feature; no Widgets
  src/host        tov2sf_host        host implementations without windows
  src/hostgui     tov2sf_hostgui     host implementations with windows (Widgets, X11, SANE,
                                     CUPS printing, Qt Multimedia)
  src/gui         tov2sf_gui         the screens, a folder per feature (Widgets)
  src/program     tov2sf_program     start-up and the wiring of screens to host services
  src/bin                            the executables' mains only

This script fails when
  - a library links one of ours it may not (an upward or sideways link),
  - a library links a system module its layer may not use (Widgets outside hostgui and gui,
    Multimedia, PrintSupport, X11 or SANE outside hostgui),
  - a file includes ("..." or <...>) a header of a library its own does not reach, or a system
    module's header its layer may not use,
  - a file under src/ belongs to no library, or to a library outside its top folder,
  - with --compile-commands, a file of src/ is compiled with the include folder of a library its
    own does not reach (the build's compile_commands.json, CMAKE_EXPORT_COMPILE_COMMANDS).
Usage: tools/check-layers.py [--compile-commands FILE] [source folder]   (default: src/ beside
this script)
"""

import json
import os
import re
import sys

# The library of each top folder.
FOLDERS = {
    "interfaces": "tov2sf_interfaces",
    "foundation": "tov2sf_foundation",
    "core": "tov2sf_core",
    "host": "tov2sf_host",
    "hostgui": "tov2sf_hostgui",
    "gui": "tov2sf_gui",
    "program": "tov2sf_program",
    "bin": None,  # executables only
}

# The layers, each with the libraries of ours it may link directly.
ALLOWED_LINKS = {
    "tov2sf_interfaces": set(),
    "tov2sf_foundation": {"tov2sf_interfaces"},
    "tov2sf_core": {"tov2sf_foundation"},
    "tov2sf_host": {"tov2sf_core"},
    "tov2sf_hostgui": {"tov2sf_host"},
    "tov2sf_gui": {"tov2sf_core"},
    "tov2sf_program": {"tov2sf_gui", "tov2sf_hostgui"},
}

# System modules with windows or devices, the layers that may use them, and how their headers
# are named when included.
MODULES = {
    "Widgets": ({"tov2sf_hostgui", "tov2sf_gui", "tov2sf_program"},
                ["Qt6::Widgets"], [r"QtWidgets/"]),
    "PrintSupport": ({"tov2sf_hostgui"}, ["Qt6::PrintSupport"], [r"QtPrintSupport/", r"QPrinter"]),
    "Multimedia": ({"tov2sf_hostgui"}, ["Qt6::Multimedia"], [r"QtMultimedia/", r"QMedia",
                                                             r"QAudio", r"QSoundEffect"]),
    "X11": ({"tov2sf_hostgui"}, ["X11::X11"], [r"X11/"]),
    "SANE": ({"tov2sf_hostgui"}, ["${SANE_LIBRARY}"], [r"sane/"]),
}

COMMAND = re.compile(
    r"\b(add_library|add_executable|target_sources|target_link_libraries)\s*\(([^)]*)\)", re.S
)
INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^">]+)[">]', re.M)
KEYWORDS = {"STATIC", "SHARED", "OBJECT", "INTERFACE", "PUBLIC", "PRIVATE", "FILE_SET",
            "HEADERS", "BASE_DIRS", "FILES"}


def read_cmake(src):
    """The owner of each file, the links of each target (ours and others) and the executables."""
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
                links.setdefault(target, set()).update(rest)
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


def top(rel):
    return rel.split(os.sep, 1)[0]


def include_faults(commands, src, owner, ours):
    """Files of src compiled with a library's include folder that their library does not reach."""
    roots = {os.path.join(src, folder): library for folder, library in FOLDERS.items() if library}
    faults = []
    for entry in json.load(open(commands, encoding="utf-8")):
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        rel = os.path.relpath(path, src)
        mine = owner.get(rel)
        if rel.startswith("..") or mine is None:
            continue  # generated, a test or a tool
        visible = {mine} | reach(mine, ours)
        words = entry.get("arguments") or entry["command"].split()
        for folder in re.findall(r"-I\s*(\S+)", " ".join(words)):
            library = roots.get(os.path.normpath(folder))
            if library and library not in visible:
                faults.append(f"{rel} ({mine}) is compiled with {library}'s include folder")
    return faults


def main():
    args = sys.argv[1:]
    commands = None
    if args[:1] == ["--compile-commands"]:
        commands, args = args[1], args[2:]
    src = args[0] if args else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "src")
    src = os.path.normpath(os.path.abspath(src))
    owner, links, executables = read_cmake(src)
    ours = {t: {d for d in deps if d.startswith("tov2sf_")} for t, deps in links.items()}
    faults = []

    for target, deps in sorted(links.items()):
        if target in executables:
            continue
        if target not in ALLOWED_LINKS:
            faults.append(f"{target}: a library outside the layers")
            continue
        for dep in sorted(ours[target] - ALLOWED_LINKS[target]):
            faults.append(f"{target} links {dep}: not a layer below it")
        for module, (layers, names, _) in MODULES.items():
            if target not in layers and deps & set(names):
                faults.append(f"{target} links {module}: only {', '.join(sorted(layers))} may")

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
            faults.append(f"{rel}: in no library; list it in {top(rel)}/CMakeLists.txt")
            continue
        folder_library = FOLDERS.get(top(rel), "?")
        if folder_library is None and mine not in executables:
            faults.append(f"{rel} ({mine}): {top(rel)}/ holds executables' mains only")
        if folder_library not in (None, mine):
            faults.append(f"{rel} ({mine}): {top(rel)}/ is the folder of {folder_library}")
        visible = {mine} | reach(mine, ours)
        text = open(os.path.join(src, rel), encoding="utf-8").read()
        for _, included in INCLUDE.findall(text):
            for module, (layers, names, prefixes) in MODULES.items():
                if any(included.startswith(p) for p in prefixes) and not (
                        mine in layers or mine in executables):
                    faults.append(f"{rel} ({mine}) includes {included}: {module} is for "
                                  f"{', '.join(sorted(layers))} only")
            local = os.path.normpath(os.path.join(os.path.dirname(rel), included))
            if os.path.exists(os.path.join(src, local)):
                candidates = [local]
            else:
                candidates = [os.path.join(folder, included) for folder in FOLDERS
                              if os.path.exists(os.path.join(src, folder, included))]
            if not candidates:
                continue  # a system, Qt or generated header
            holders = {owner.get(os.path.normpath(c)) for c in candidates} - {None}
            if holders and not holders & visible:
                faults.append(f"{rel} ({mine}) includes {included} "
                              f"({', '.join(sorted(holders))}): an upward dependency")

    if commands:
        faults += include_faults(commands, src, owner, ours)

    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} faults in the layers", file=sys.stderr)
        return 1
    print(f"layers: {len(files)} files in {len(FOLDERS)} folders, every include runs downwards")
    return 0


if __name__ == "__main__":
    sys.exit(main())
