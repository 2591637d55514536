#!/usr/bin/python3
"""Checks a built executable of the product (T7105Cfg.exe, or with --report
T7105Report.exe) as Windows will see it: machine and subsystem, the
application manifest against its version and description, and its imports. (The version block is read back through the
Windows API by the Wine suite.) With the link map, it also checks that the
program starts at its own entry point and that nothing of the C runtime's
start-up came back: no thread-local data, no initialiser or constructor
tables, no pseudo-relocations (fix-ups of data imported from DLLs, which
only that start-up applies), and from the C runtime DLL only the string
functions the code calls.

Wine always loads the executable at its preferred base, so what lets Windows
move it is checked here: the header's flags, and, in an image without base
relocations, that no section holds its own absolute addresses.

usage: check_executable.py [--report] EXE MAP VERSION DESCRIPTION"""
import re
import sys

import pefile

SUPPORTED_OS = {
    "Windows 7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "Windows 8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "Windows 8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "Windows 10 and 11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "advapi32.dll", "ole32.dll", "oleaut32.dll",
    "setupapi.dll", "cfgmgr32.dll", "msvcrt.dll", "version.dll",
}
# What the program's code calls of msvcrt.dll; the start-up code would add
# __getmainargs, _initterm, exit and their like.
C_RUNTIME_FUNCTIONS = {
    "_stricmp", "_strnicmp", "memchr", "memcmp", "memcpy", "memset", "strlen", "strtol",
}
# The program: its entry point, a GUI program (no window ever opens); the
# report: its own entry point, a console program.
ENTRY_POINT, SUBSYSTEM = "T7105Start", 2
if sys.argv[1:2] == ["--report"]:
    ENTRY_POINT, SUBSYSTEM = "T7105ReportStart", 3
    del sys.argv[1]
# Address space layout randomisation (at any 64-bit address), no execution of
# data, and no compatibility shims for terminal servers.
DLL_CHARACTERISTICS = ("DYNAMIC_BASE", "HIGH_ENTROPY_VA", "NX_COMPAT", "TERMINAL_SERVER_AWARE")
CM_FUNCTIONS = {
    "CM_Get_DevNode_Registry_PropertyA", "CM_Get_DevNode_Status",
    "CM_Get_Device_ID_List_SizeA", "CM_Get_Device_ID_ListA",
    "CM_Locate_DevNodeA", "CM_Open_DevNode_Key",
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def linked_input_sections(link_map):
    """(section, size) of every input section the link placed, from the
    linker's map; sections it discarded are listed before the memory map."""
    placed = link_map.split("Linker script and memory map", 1)[-1]
    return [(name, int(size, 16)) for name, size in
            re.findall(r"^ (\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+) ", placed, re.M)]


def check_start_up(pe, link_map):
    entry = re.search(r"^\s+0x([0-9a-f]+)\s+" + ENTRY_POINT + "$", link_map, re.M)
    actual = pe.OPTIONAL_HEADER.ImageBase + pe.OPTIONAL_HEADER.AddressOfEntryPoint
    check(entry is not None and int(entry.group(1), 16) == actual,
          f"entry point {actual:#x} is not {ENTRY_POINT} ({entry and entry.group(1)})")
    tls = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]]
    check(tls.Size == 0, f"a TLS directory of {tls.Size} bytes")
    names = [s.Name.rstrip(b"\0").decode(errors="replace") for s in pe.sections]
    check(not {".CRT", ".tls"} & set(names), f"start-up sections in {names}")
    tables = [(name, size) for name, size in linked_input_sections(link_map)
              if size and re.match(r"\.(ctors?|dtors?|CRT|tls)\b", name)]
    check(not tables, f"initialiser, constructor or thread-local input sections: {tables}")
    # The list's bounds, which every binutils' script sets (binutils 2.40 adds
    # its size; 2.44 does not).
    bounds = [re.search(r"^\s+0x([0-9a-f]+)\s+__rt_psrelocs_" + end + " = ", link_map, re.M)
              for end in ("start", "end")]
    pseudo = None if None in bounds else int(bounds[1].group(1), 16) - int(bounds[0].group(1), 16)
    check(pseudo == 0, f"pseudo-relocation list of {pseudo} bytes, expected 0")


def absolute_addresses(pe):
    """Every 8-byte value, at any offset of any section (code's immediates
    are unaligned), that falls inside the image's own address range."""
    low = pe.OPTIONAL_HEADER.ImageBase
    high = low + pe.OPTIONAL_HEADER.SizeOfImage
    found = []
    for section in pe.sections:
        data = section.get_data()
        name = section.Name.rstrip(b"\0").decode(errors="replace")
        for offset in range(len(data) - 7):
            value = int.from_bytes(data[offset:offset + 8], "little")
            if low <= value < high:
                found.append(f"{name}+{offset:#x}: {value:#x}")
    return found


def check_relocatable(pe):
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    for flag in DLL_CHARACTERISTICS:
        check(getattr(pe.OPTIONAL_HEADER, "IMAGE_DLLCHARACTERISTICS_" + flag),
              f"DllCharacteristics {flags:#x} lack {flag}")
    check(not pe.FILE_HEADER.IMAGE_FILE_RELOCS_STRIPPED, "relocations are marked stripped")
    relocations = pe.OPTIONAL_HEADER.DATA_DIRECTORY[
        pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if relocations.Size == 0:
        found = absolute_addresses(pe)
        check(not found, f"{len(found)} absolute addresses and no base relocations to move them: "
              + ", ".join(found[:8]))


def manifest(pe):
    for resource_type in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if resource_type.id == 24:
            for name in resource_type.directory.entries:
                check(name.id == 1, f"manifest resource id {name.id}, expected 1")
                for language in name.directory.entries:
                    data = language.data.struct
                    return pe.get_data(data.OffsetToData, data.Size).decode("utf-8")
    return ""


def main(path, map_path, version, description):
    pe = pefile.PE(path)
    with open(map_path, encoding="utf-8", errors="replace") as link_map:
        check_start_up(pe, link_map.read())
    check(pe.FILE_HEADER.Machine == 0x8664, f"machine {pe.FILE_HEADER.Machine:#x}, expected x86_64")
    check(pe.OPTIONAL_HEADER.Subsystem == SUBSYSTEM,
          f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, expected {SUBSYSTEM}")
    check(pe.FILE_HEADER.TimeDateStamp == 0,
          f"link time stamp {pe.FILE_HEADER.TimeDateStamp:#x}, expected none")
    check_relocatable(pe)

    text = manifest(pe)
    identity = re.search(r'<assemblyIdentity [^>]*version="([^"]*)"', text)
    check(identity is not None and identity.group(1) == version,
          f"manifest version {identity and identity.group(1)!r}, expected {version!r}")
    check(f"<description>{description}</description>" in text,
          f"manifest does not describe the program as {description!r}")
    check('level="asInvoker"' in text, "manifest does not ask for asInvoker")
    for name, guid in SUPPORTED_OS.items():
        check(guid in text, f"manifest does not declare {name}")

    imports = {entry.dll.decode().lower(): {i.name.decode() for i in entry.imports if i.name}
               for entry in pe.DIRECTORY_ENTRY_IMPORT}
    check(set(imports) <= SYSTEM_DLLS, f"non-system imports: {sorted(set(imports) - SYSTEM_DLLS)}")
    c_runtime = imports.get("msvcrt.dll", set())
    check(c_runtime <= C_RUNTIME_FUNCTIONS,
          f"from msvcrt.dll beyond the string functions: {sorted(c_runtime - C_RUNTIME_FUNCTIONS)}")
    check(CM_FUNCTIONS <= imports.get("cfgmgr32.dll", set()),
          f"from CFGMGR32.dll: {sorted(imports.get('cfgmgr32.dll', set()))}")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{path}: {len(failures)} failures; imports {sorted(imports)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
