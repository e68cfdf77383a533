#!/usr/bin/env python3
"""Fails when an include runs from a lower folder back up to one that depends on it.

Each folder may include only the folders named for it below (and its own files).
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[1])

PLATFORM = {"code_page", "files", "settings", "services", "skin", "accessibility"}
CONTROLS = {p.name for p in (root / "controls").iterdir() if p.is_dir()}
ALLOWED = {
    "platform/code_page": set(),
    "platform/files": {"code_page"},
    "platform/settings": set(),
    "platform/services": set(),
    "platform/skin": {"settings"},
    "platform/accessibility": {"skin", "settings"},
    "controls": PLATFORM | CONTROLS,
    "app/words": {"code_page"},
    "app/widgets": {"words"} | PLATFORM,
    "app/operations": {"words", "widgets"} | CONTROLS | PLATFORM,
    "app/window": {"words", "widgets", "operations"} | CONTROLS | PLATFORM,
}
FOLDERS = {"words", "widgets", "operations", "window"} | PLATFORM | CONTROLS

include = re.compile(r'#include "([^"]+)"')
faults = []
for layer, allowed in ALLOWED.items():
    for path in sorted((root / layer).rglob("*")):
        if path.suffix not in {".h", ".cpp"}:
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if not match or "/" not in match.group(1):
                continue
            folder = match.group(1).split("/")[0]
            own = path.parent.name
            if folder in FOLDERS and folder != own and folder not in allowed:
                faults.append(f"{path.relative_to(root)}:{number}: {layer} includes {match.group(1)}")
print("\n".join(faults) or "every include points down")
sys.exit(1 if faults else 0)
