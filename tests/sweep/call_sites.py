#!/usr/bin/env python3
"""Lists the platform call sites of the product code, one a line
(file:line: operation), then their count per operation with how a fault can
make it misbehave, and in all.

A platform call is a call of an operation that platform/standin/operations.inc
lists: a function, an interface method (named as the call log names it, e.g.
IUnknown::Release), or an entry point looked up at run time. Comments and
string literals are ignored. The C runtime's _stricmp and _strnicmp are not
platform calls."""
import collections
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parents[2])
listed = (root / "platform/standin/operations.inc").read_text()
faultable = dict(re.findall(r'^T7105_OPERATION\("([^"]+)", (\w+)\)', listed, re.M))

functions = {name for name in faultable if "::" not in name}
methods = {name.split("::")[1]: name for name in faultable if "::" in name}
# Entry points that the region rule looks up with GetProcAddress.
looked_up = {"getUserGeoId": "GetUserGeoID", "getGeoInfo": "GetGeoInfoA"}


def code_only(text):
    """The text with comments and literals blanked, lines kept."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'', re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


sites = []
for folder in ("app", "device", "capture", "region"):
    for path in sorted((root / folder).glob("*.cpp")):
        for number, line in enumerate(code_only(path.read_text()).splitlines(), 1):
            for match in re.finditer(r"(->|\.)?\s*\b(\w+)\s*\(", line):
                arrow, name = match.groups()
                if arrow == "->" and name in methods:
                    operation = methods[name]
                elif arrow is None and name in functions:
                    operation = name
                elif arrow is None and name in looked_up:
                    operation = looked_up[name]
                else:
                    continue
                if re.search(r"\b(typedef|WINAPI)\b", line):
                    continue  # a declaration, not a call
                sites.append((f"{path.relative_to(root)}:{number}", operation))

for where, operation in sites:
    print(f"{where}: {operation}")
print()
for operation, count in sorted(collections.Counter(op for _, op in sites).items()):
    print(f"{count:3} {operation} ({faultable[operation]})")
print(f"{len(sites)} call sites of {len(set(op for _, op in sites))} operations")
