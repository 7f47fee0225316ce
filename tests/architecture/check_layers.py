#!/usr/bin/env python3
"""Holds the sources and the build to the table of docs/architecture.md.

Usage: check_layers.py SOURCE_DIR [LINKS_FILE]

Every `#include "X/..."` in src/<folder>/ must name the folder itself or a folder that the
table's row for that folder lists. With LINKS_FILE (one line per library built,
"target: the libraries it links, separated by ;", written by CMake), each library's drovik
libraries must be those of its row too, so that the table is what the build allows.
Prints one line per fault and exits 1 when there is any.
"""

import pathlib
import re
import sys

TABLE_HEADER = re.compile(r"^\|\s*library\s*\|\s*uses\s*\|\s*$")
TARGET = re.compile(r"`([^`]+)`")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/', re.MULTILINE)


def folder_of(target):
    """src/ folder of a library or program named in the table."""
    if target == "drovik":
        return "app"
    if target == "drovik-cli":
        return "cli"
    return target.removeprefix("drovik_")


def read_table(architecture, folders):
    """{first target of the row: (folder, set of folders it may use)}, in table order."""
    rows = {}
    lines = architecture.read_text(encoding="utf-8").splitlines()
    start = next(i for i, line in enumerate(lines) if TABLE_HEADER.match(line))
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        targets = TARGET.findall(cells[0])
        # What the parentheses say (outside libraries) and names that are not folders under
        # src/ (Qt Widgets, the standard library) are not layers.
        uses = re.sub(r"\([^)]*\)", "", cells[1])
        used = {name.strip() for name in uses.split(",")} & folders
        rows[targets[0]] = (folder_of(targets[0]), used)
    return rows


def include_faults(source, rows, folders):
    allowed = {folder: used for folder, used in rows.values()}
    faults = []
    for folder in sorted(folders):
        if folder not in allowed:
            faults.append(f"src/{folder}/: no row in docs/architecture.md")
            continue
        for path in sorted((source / "src" / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for used in INCLUDE.findall(path.read_text(encoding="utf-8")):
                if used in folders and used != folder and used not in allowed[folder]:
                    faults.append(f"{path.relative_to(source)}: includes {used}/, which the "
                                  f"table does not allow for {folder}")
    return faults


def link_faults(links_file, rows, folders):
    links = {}
    for line in links_file.read_text(encoding="utf-8").splitlines():
        target, _, libraries = line.partition(":")
        links[target.strip()] = {folder_of(name) for name in libraries.strip().split(";")
                                 if name.startswith("drovik_") and folder_of(name) in folders}
    faults = []
    for target, (_, used) in rows.items():
        if target not in links:
            continue  # not built here (the desktop program's libraries without DROVIK_BUILD_GUI)
        if missing := sorted(used - links[target]):
            faults.append(f"{target}: the table lists {', '.join(missing)}, CMake does not link it")
        if extra := sorted(links[target] - used):
            faults.append(f"{target}: CMake links {', '.join(extra)}, the table does not list it")
    return faults


def main(argv):
    source = pathlib.Path(argv[1])
    folders = {path.name for path in (source / "src").iterdir() if path.is_dir()}
    rows = read_table(source / "docs" / "architecture.md", folders)
    faults = include_faults(source, rows, folders)
    if len(argv) > 2:
        faults += link_faults(pathlib.Path(argv[2]), rows, folders)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
