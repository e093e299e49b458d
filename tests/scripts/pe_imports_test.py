"""The import check passes a built program, and fails a copy of it with one
delay-loaded slot emptied, naming the slot and deleting the copy, and a copy
whose import table names version.dll, which is no KnownDLL. The program is
marked as made for Terminal Services, as every program of ours is."""

import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from pe_imports import PeFile  # noqa: E402

TERMINAL_SERVER_AWARE = 0x8000

checker = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "pe_imports.py")
built = sys.argv[1]
assert PeFile(built).dll_characteristics & TERMINAL_SERVER_AWARE, "not linked with --tsaware"
with tempfile.TemporaryDirectory() as folder:
    program = os.path.join(folder, "Brennic.exe")
    shutil.copy(built, program)
    shutil.copy(os.path.splitext(built)[0] + ".map", folder)
    check = [sys.executable, checker, "check", "--delete-on-failure", program]
    assert subprocess.run(check).returncode == 0, "the built program fails the check"

    dll, _, function, slot, _ = next(i for i in PeFile(program).imports() if i[1])
    with open(program, "r+b") as f:
        f.seek(PeFile(program).offset(slot))
        f.write(bytes(PeFile(program).pointer))
    result = subprocess.run(check, capture_output=True, text=True)
    assert result.returncode == 1 and f"{dll}!{function} has an empty slot" in result.stderr, result.stderr
    assert not os.path.exists(program), "the failing program was kept"

    shutil.copy(built, program)
    with open(program, "r+b") as f:
        data = f.read()
        f.seek(data.index(b"ADVAPI32.dll\0"))
        f.write(b"version.dll\0")
    result = subprocess.run(check, capture_output=True, text=True)
    assert result.returncode == 1 and "imports version.dll at start, which is no KnownDLL" in result.stderr, result.stderr
print("pe_imports: passes the built program, fails and deletes it with an empty slot or a DLL that is no KnownDLL")
