#!/usr/bin/env python3
"""The import tables of a Windows program, read from the file itself.

  pe_imports.py check [--delete-on-failure] PROGRAM...
                                   every import slot is filled, plain and
                                   delay-loaded, and every DLL imported at
                                   start is a KnownDLL; exits 1 naming each
                                   fault (and deletes that program if asked)
  pe_imports.py delayed PROGRAM    the DLLs it loads on first use, one line

An import slot is where the loader (plain imports) or the delay-load helper
(delay-loaded ones) puts a function's address; a call goes through it. In
the file a plain slot holds the function's name entry and a delay-loaded
one the address of the stub that loads the DLL. An empty slot sends the
first call to address 0, so a program with one must not ship.

The delay-loaded tables are found through the program's delay-import
directory. The GNU ld our toolchain has (2.40) leaves that directory empty;
then the link map beside the program (PROGRAM with .map for .exe, as our
build writes it) gives where each DLL's descriptor is.

A DLL imported at start (a plain import) is looked for in the program's own
folder before System32 unless it is a KnownDLL, which Windows always maps
from System32. Our programs run from folders others may write to: Brennic
from the game folder, GameSwap from the installer's temporary folder,
Vantrel from wherever its package was unpacked. So they import at start
only KnownDLLs; any other DLL is delay-loaded, and our delay-load hook takes
it from System32."""

import os
import re
import struct
import sys

IMPORT_DIRECTORY = 1
DELAY_IMPORT_DIRECTORY = 13
SECTION_EXECUTES = 0x20000000
DELAY_ATTRIBUTES_RVA = 1  # fields are RVAs, not addresses


# The KnownDLLs of every Windows we support: the values of the registry key
# HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs
# (Microsoft's "Dynamic-link library search order" names it as the list),
# those that Windows 7 SP1, 8.1, 10 and 11 all ship; ones only some of them
# have (WININET and URLMON on 7, COMBASE and SHCORE later) are left out. And
# NTDLL, which the system maps into every process before anything else.
KNOWN_DLLS = frozenset("""
    advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 msctf msvcrt
    normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32
    shlwapi user32 wldap32 ws2_32
""".split())

# A symbol's line in a GNU ld map: address, then the name.
DESCRIPTOR_IN_MAP = re.compile(r"^ +0x([0-9a-f]+) +_?_DELAY_IMPORT_DESCRIPTOR_\S+$", re.M)


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        self.path = path
        self.map_path = os.path.splitext(path)[0] + ".map"
        if self.data[:2] != b"MZ":
            raise ValueError(f"{path}: not a Windows program")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        sections, optional_size = struct.unpack_from("<H12xH", self.data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", self.data, optional)[0]
        if magic == 0x10B:
            self.pointer, self.image_base = 4, struct.unpack_from("<I", self.data, optional + 28)[0]
            directories = optional + 96
        elif magic == 0x20B:
            self.pointer, self.image_base = 8, struct.unpack_from("<Q", self.data, optional + 24)[0]
            directories = optional + 112
        else:
            raise ValueError(f"{path}: unknown optional header {magic:#x}")
        self.dll_characteristics = struct.unpack_from("<H", self.data, optional + 70)[0]
        count = struct.unpack_from("<I", self.data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i) for i in range(count)]
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            vsize, rva, raw_size, raw = struct.unpack_from("<IIII", self.data, at + 8)
            flags = struct.unpack_from("<I", self.data, at + 36)[0]
            self.sections.append((rva, max(vsize, raw_size), raw, flags))

    def offset(self, rva):
        """Where in the file the byte at `rva` is."""
        for start, size, raw, _ in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"{self.path}: address {rva:#x} is in no section")

    def executes(self, rva):
        return any(start <= rva < start + size and flags & SECTION_EXECUTES
                   for start, size, _, flags in self.sections)

    def word(self, rva, size=4):
        return int.from_bytes(self.data[self.offset(rva):self.offset(rva) + size], "little")

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii", "replace")

    def entry_name(self, entry):
        ordinal_flag = 1 << (8 * self.pointer - 1)
        return f"#{entry & 0xFFFF}" if entry & ordinal_flag else self.text(entry + 2)

    def slots(self, names_rva, slots_rva):
        """(function, slot's RVA, slot's value) for one DLL's table."""
        while entry := self.word(names_rva, self.pointer):
            yield self.entry_name(entry), slots_rva, self.word(slots_rva, self.pointer)
            names_rva += self.pointer
            slots_rva += self.pointer

    def imports(self):
        """(DLL, delay-loaded, function, slot's RVA, slot's value) for every import."""
        rva, size = self.directories[IMPORT_DIRECTORY] if len(self.directories) > IMPORT_DIRECTORY else (0, 0)
        while size and self.word(rva + 12):
            names, _, _, dll, slots = struct.unpack_from("<5I", self.data, self.offset(rva))
            for function, at, value in self.slots(names or slots, slots):
                yield self.text(dll), False, function, at, value
            rva += 20
        for rva in self.delay_descriptors():
            attributes, dll, _, slots, names = struct.unpack_from("<5I", self.data, self.offset(rva))
            # Old-style descriptors hold addresses; so do the slots always.
            base = 0 if attributes & DELAY_ATTRIBUTES_RVA else self.image_base
            for function, at, value in self.slots(names - base, slots - base):
                yield self.text(dll - base), True, function, at, value

    def delay_descriptors(self):
        """The RVA of each delay-loaded DLL's descriptor."""
        rva, size = self.directories[DELAY_IMPORT_DIRECTORY] if len(self.directories) > DELAY_IMPORT_DIRECTORY else (0, 0)
        if size:
            while self.word(rva + 4):
                yield rva
                rva += 32
            return
        if not os.path.exists(self.map_path):
            raise ValueError(f"{self.path}: no delay-import directory, and no link map {self.map_path} to find it")
        with open(self.map_path, encoding="utf-8", errors="replace") as f:
            placed = f.read().partition("Linker script and memory map")[2]
        for address in dict.fromkeys(DESCRIPTOR_IN_MAP.findall(placed)):
            yield int(address, 16) - self.image_base

    def delayed_dlls(self):
        return list(dict.fromkeys(dll for dll, delayed, *_ in self.imports() if delayed))


def faults_of(program):
    """Why each unusable slot of `program`, and each DLL it imports at start
    that Windows may look for in the program's folder, is so, in words."""
    faults = []
    for dll, delayed, function, _, value in program.imports():
        kind = "delay-loaded import" if delayed else "import"
        if value == 0:
            faults.append(f"{kind} {dll}!{function} has an empty slot")
        elif delayed and not program.executes(value - program.image_base):
            faults.append(f"{kind} {dll}!{function} points at {value:#x}, outside the program's code")
    for dll in dict.fromkeys(dll for dll, delayed, *_ in program.imports() if not delayed):
        if dll.lower().removesuffix(".dll") not in KNOWN_DLLS:
            faults.append(f"imports {dll} at start, which is no KnownDLL: Windows looks for it "
                          "in the program's folder first")
    return faults


def main(argv):
    if len(argv) >= 3 and argv[1] == "check":
        delete = argv[2] == "--delete-on-failure"
        failed = False
        for path in argv[3 if delete else 2:]:
            program = PeFile(path)
            faults = faults_of(program)
            for fault in faults:
                print(f"{path}: {fault}", file=sys.stderr)
            if faults and delete:
                os.remove(path)
                print(f"{path}: deleted", file=sys.stderr)
            failed = failed or bool(faults)
            if not faults:
                imports = list(program.imports())
                delayed = sum(1 for _, d, *_ in imports if d)
                print(f"{path}: all {len(imports)} import slots filled ({delayed} delay-loaded), "
                      "only KnownDLLs imported at start")
        return 1 if failed else 0
    if len(argv) == 3 and argv[1] == "delayed":
        print(" ".join(PeFile(argv[2]).delayed_dlls()))
        return 0
    print(__doc__.split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv))
    except (OSError, ValueError) as error:
        print(f"pe_imports.py: {error}", file=sys.stderr)
        sys.exit(1)
