#!/usr/bin/python3
"""Checks the size budget of a built executable: the stripped x86_64
executable with its resources, at most BUDGET bytes. Prints where the bytes
go, section by section, so that a change that breaks the budget shows why.

usage: check_size.py EXE BUDGET"""
import os
import sys

import pefile


def main(path, budget):
    pe = pefile.PE(path)
    size = os.path.getsize(path)
    failures = []
    if pe.FILE_HEADER.Machine != 0x8664:
        failures.append(f"machine {pe.FILE_HEADER.Machine:#x}, expected x86_64")
    if pe.FILE_HEADER.PointerToSymbolTable or pe.FILE_HEADER.NumberOfSymbols:
        failures.append(f"not stripped: {pe.FILE_HEADER.NumberOfSymbols} symbols")
    names = [s.Name.rstrip(b"\0").decode(errors="replace") for s in pe.sections]
    debug = [n for n in names if n.startswith(".debug") or n.startswith("/")]
    if debug:
        failures.append(f"not stripped: sections {debug}")
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        failures.append("no resources")
    if size > budget:
        failures.append(f"{size} bytes, over the budget of {budget} by {size - budget}")

    # Each section fills whole units of the file alignment: what it holds,
    # and what is padding.
    headers = pe.OPTIONAL_HEADER.SizeOfHeaders
    header_content = (pe.DOS_HEADER.e_lfanew + 4 + pe.FILE_HEADER.sizeof()
                      + pe.FILE_HEADER.SizeOfOptionalHeader + 40 * len(pe.sections))
    print(f"{'part':<10}{'file bytes':>11}{'content':>9}{'padding':>9}")
    print(f"{'headers':<10}{headers:>11}{header_content:>9}{headers - header_content:>9}")
    padding = headers - header_content
    for name, section in zip(names, pe.sections):
        raw = section.SizeOfRawData
        content = min(section.Misc_VirtualSize, raw)
        padding += raw - content
        print(f"{name:<10}{raw:>11}{content:>9}{raw - content:>9}")
    print(f"{'total':<10}{size:>11}{size - padding:>9}{padding:>9}  budget {budget}")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], int(sys.argv[2])))
