#!/usr/bin/env python3
"""The product is a PE32 x86 console program whose import table names only
DLLs that every Windows has."""
import struct
import sys

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll", "comdlg32.dll",
               "wininet.dll", "msvcrt.dll", "ntdll.dll", "gdi32.dll", "ole32.dll"}


def imports(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    assert image[pe:pe + 4] == b"PE\0\0", "no PE signature"
    machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", image, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    subsystem = struct.unpack_from("<H", image, optional + 68)[0]
    import_rva = struct.unpack_from("<I", image, optional + 96 + 8)[0]
    table = optional + optional_size
    spans = [struct.unpack_from("<IIII", image, table + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        for vsize, vaddr, rawsize, rawptr in spans:
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rva - vaddr + rawptr
        raise ValueError(f"rva {rva:#x} outside the sections")

    names = []
    entry = offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<I", image, entry + 12)[0]
        if name_rva == 0:
            break
        start = offset(name_rva)
        names.append(image[start:image.index(b"\0", start)].decode().lower())
        entry += 20
    return machine, magic, subsystem, names


def main(path):
    with open(path, "rb") as f:
        machine, magic, subsystem, names = imports(f.read())
    failures = []
    if machine != 0x14C or magic != 0x10B:
        failures.append(f"not PE32 x86 (machine {machine:#x}, magic {magic:#x})")
    if subsystem != 3:
        failures.append(f"not a console program (subsystem {subsystem})")
    others = [n for n in names if n not in SYSTEM_DLLS]
    if others:
        failures.append(f"imports beyond the system's DLLs: {others}")
    print("imports:", ", ".join(names))
    if failures:
        print("FAILED:", "; ".join(failures))
        return 1
    print("1 passed, 0 failed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
