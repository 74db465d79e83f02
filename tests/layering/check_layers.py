#!/usr/bin/env python3
"""Fails when a source file includes a header of a layer above its own, or Qt where Qt is
not allowed.

    check_layers.py SRC_DIR

Every folder directly under SRC_DIR is a layer and must appear in LAYERS below: a new
folder fails the check until it is given its place. A file may include headers of its own
folder and of any layer with a lower level; folders on the same level do not include each
other. Prints one line per offending include and exits 1, or a summary and exits 0.
"""
import pathlib
import re
import sys

# folder: (level, may include Qt). Lower levels never include higher ones.
LAYERS = {
    "machines": (0, False),  # dialect machines, block scanner, diagnostic log
    "core": (1, False),      # program files, runner, motions, settings, picture files
    "drawing": (2, False),   # tool path drawer, vertex list, the PathViews interface
    "cutting": (2, False),   # cut simulation, beside the drawer
    "surfaces": (3, True),   # drawing surfaces and panels
    "pictures": (4, True),   # picture export, beside the surfaces and drawn by their renderer
    "ui": (5, True),         # windows, dialogs, settings adapter
    "app": (6, True),        # the programs' main functions
}

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".cxx", ".inl"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Qt's class headers (<QString>), module paths (<QtCore/...>) and lower-case headers (<qglobal.h>).
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/.*|Qt\w+|q\w+\.h)$")


def layer_of(path, src):
    """The layer folder a header path belongs to, or None when it lies outside SRC_DIR."""
    try:
        return path.resolve().relative_to(src).parts[0]
    except (ValueError, IndexError):
        return None


def included_layer(name, quoted, including_file, src):
    if not quoted:
        return None
    beside = including_file.parent / name
    if beside.exists():
        return layer_of(beside, src)
    first = pathlib.PurePosixPath(name).parts[0]
    return first if (src / first).is_dir() else None


def check(src):
    problems = []
    files = 0
    for folder in sorted(p for p in src.iterdir() if p.is_dir()):
        if folder.name not in LAYERS:
            problems.append(f"{folder}: a folder the layer table in {__file__} does not know")
            continue
        level, qt_allowed = LAYERS[folder.name]
        for path in sorted(folder.rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            files += 1
            text = path.read_text(encoding="utf-8", errors="replace")
            for number, line in enumerate(text.splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quoted, name = match.group(1) == '"', match.group(2)
                where = f"{path.relative_to(src.parent)}:{number}"
                if not quoted and QT_HEADER.match(name) and not qt_allowed:
                    problems.append(f"{where}: {folder.name} includes the Qt header <{name}>")
                    continue
                other = included_layer(name, quoted, path, src)
                if other is None or other == folder.name:
                    continue
                if other not in LAYERS:
                    problems.append(f"{where}: includes {name} from {other}, a folder "
                                    f"the layer table does not know")
                elif LAYERS[other][0] >= level:
                    problems.append(f"{where}: {folder.name} (level {level}) includes "
                                    f"{name} of {other} (level {LAYERS[other][0]})")
    return files, problems


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    src = pathlib.Path(sys.argv[1]).resolve()
    files, problems = check(src)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layering")
        return 1
    print(f"{files} files checked: every include stays within its layer or below")
    return 0


if __name__ == "__main__":
    sys.exit(main())
