#!/usr/bin/env python3
"""Prints facts of a JSON file, one a line: each PATH (keys and list indexes
joined by dots) and its value as JSON, e.g. camera.taken=null. A file that
is not one JSON object prints why and exits 1.

usage: json_facts.py FILE PATH..."""
import json
import sys

try:
    with open(sys.argv[1], encoding="utf-8") as report:
        facts = json.load(report)
    if not isinstance(facts, dict):
        raise ValueError("not an object")
except (OSError, ValueError) as error:
    print(f"not JSON: {error}")
    sys.exit(1)
for path in sys.argv[2:]:
    value = facts
    for part in path.split("."):
        try:
            value = value[int(part)] if isinstance(value, list) else value[part]
        except (KeyError, IndexError, ValueError, TypeError):
            value = "(missing)"
            break
    print(f"{path}={json.dumps(value, ensure_ascii=False)}")
