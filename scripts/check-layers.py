#!/usr/bin/env python3
"""Checks that every include goes where scripts/layers.txt allows, and that the core has no Qt.

Usage: check-layers.py [SOURCE_DIR]. Prints one line per fault and exits 1 when there is any.
"""

import pathlib
import re
import sys

CODE_SUFFIXES = {".h", ".hpp", ".c", ".cc", ".cpp"}
TREES = ("src", "tests", "fuzz", "bench", "tools")
# Where a quoted include is looked for after the including file's own folder, as the build's
# include directories give it.
SEARCH_ROOTS = {
    "src": ("src",),
    "tests": ("tests", "src"),
    "fuzz": ("fuzz", "tests", "src"),
    "bench": ("bench", "tests", "src"),
    "tools": ("tools", "src"),
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt")
CORE_SOURCES = re.compile(r"target_sources\(\s*arcavio_core\s+PRIVATE\s+([^)]*)\)", re.S)


class Rules:
    def __init__(self, path):
        self.path = path
        self.allowed = {}  # folder -> set of folders
        self.line_of = {}
        raw = {}
        for number, text in enumerate(path.read_text().splitlines(), 1):
            text = text.split("#", 1)[0].strip()
            if not text:
                continue
            folder, _, rest = text.partition(":")
            folder = folder.strip()
            if folder in raw:
                raise SystemExit(f"{path}:{number}: {folder} is named twice")
            raw[folder] = [item.strip() for item in rest.split(",") if item.strip()]
            self.line_of[folder] = number
        for folder in raw:
            self.allowed[folder] = self._expand(folder, raw, ())

    def _expand(self, folder, raw, seen):
        if folder in seen:
            raise SystemExit(f"{self.path}:{self.line_of[folder]}: the layers of {folder} form a cycle")
        result = set()
        for item in raw[folder]:
            name, below = (item[: -len(" and below")], True) if item.endswith(" and below") else (item, False)
            if name not in raw:
                raise SystemExit(f"{self.path}:{self.line_of[folder]}: {name} has no line of its own")
            result.add(name)
            if below:
                result |= self._expand(name, raw, seen + (folder,))
        return result

    def folder_of(self, relative):
        """The longest folder (or file) named in the rules that holds the path, or None."""
        parts = relative.split("/")
        for end in range(len(parts), 0, -1):
            candidate = "/".join(parts[:end])
            if candidate in self.allowed:
                return candidate
        return None


def code_files(root):
    for tree in TREES:
        base = root / tree
        if base.is_dir():
            for path in sorted(base.rglob("*")):
                if path.suffix in CODE_SUFFIXES and path.is_file():
                    yield path


def includes(path):
    for number, text in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(text)
        if match:
            yield number, match.group(1) == '"', match.group(2)


def resolve(root, path, name):
    """The file a quoted include names, as the compiler finds it, or None."""
    tree = path.relative_to(root).parts[0]
    for folder in (path.parent,) + tuple(root / r for r in SEARCH_ROOTS[tree]):
        candidate = folder / name
        if candidate.is_file():
            return candidate.resolve()
    return None


def core_sources(root):
    found = []
    for cmake in sorted((root / "src").rglob("CMakeLists.txt")):
        for match in CORE_SOURCES.finditer(cmake.read_text()):
            for word in match.group(1).split():
                if not word.startswith("$"):
                    found.append((cmake.parent / word).resolve())
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent).resolve()
    rules = Rules(root / "scripts" / "layers.txt")
    faults = []
    quoted = {}  # file -> [(line, included file)]
    for path in code_files(root):
        relative = path.relative_to(root).as_posix()
        folder = rules.folder_of(relative)
        if folder is None:
            faults.append(f"{relative}: no line of scripts/layers.txt names its folder")
            continue
        quoted[path.resolve()] = []
        for number, is_quoted, name in includes(path):
            if not is_quoted:
                continue
            target = resolve(root, path, name)
            if target is None:
                faults.append(f'{relative}:{number}: includes "{name}", which is no file of the tree')
                continue
            quoted[path.resolve()].append((number, name, target))
            target_folder = rules.folder_of(target.relative_to(root).as_posix())
            if target_folder in (folder, None) and target_folder is not None:
                continue
            if target_folder not in rules.allowed[folder]:
                allowed = ", ".join(sorted(rules.allowed[folder])) or "nothing else"
                faults.append(
                    f'{relative}:{number}: includes "{name}" from {target_folder}, but the rule '
                    f"(scripts/layers.txt:{rules.line_of[folder]}) lets {folder} include {allowed}"
                )

    # The core links no Qt: neither its sources nor anything they include may name a Qt header.
    pending = [(source, source.relative_to(root).as_posix()) for source in core_sources(root)]
    seen = set()
    while pending:
        path, via = pending.pop()
        if path in seen:
            continue
        seen.add(path)
        if not path.is_file():
            faults.append(f"{via}: a source of arcavio_core that does not exist")
            continue
        for number, is_quoted, name in includes(path):
            relative = path.relative_to(root).as_posix()
            if not is_quoted and QT_HEADER.match(name):
                faults.append(f"{relative}:{number}: includes <{name}>, but arcavio_core links no Qt (reached from {via})")
        for number, name, target in quoted.get(path, []):
            pending.append((target, via))

    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layers")
        return 1
    print(f"{len(quoted)} files follow the layers; arcavio_core includes no Qt ({len(seen)} files)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
