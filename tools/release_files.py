#!/usr/bin/env python3
"""The release files' one date, so that two builds of one commit give the
same bytes wherever and whenever they are made.

  release_files.py epoch SOURCE_DIR            the release time, in seconds
  release_files.py stage SOURCE_DIR DIR FILE...
                                               copies each FILE into DIR with
                                               that time as its file time
  release_files.py hashes ZIP SETUP            SHA-256 of the programs in
                                               ZIP, of ZIP and of SETUP
  release_files.py sign --cert PEM --key PEM [--timestamp URL] --name TEXT FILE...
                                               signs each FILE in place with
                                               osslsigncode, SHA-256, the key's
                                               password from VANTREL_SIGN_PASS
  release_files.py sums OUT FOLDER SETUP FILE...
                                               writes OUT for the zip: SETUP's
                                               SHA-256 (none for "-") and each
                                               FILE's as FOLDER/FILE, its path
                                               once the zip is unpacked
  release_files.py sums OUT ZIP                writes OUT beside ZIP: ZIP's
                                               SHA-256 and the lines of the
                                               SHA256SUMS in it, checked

The release time is SOURCE_DATE_EPOCH when set (the convention packagers
use), else the time of the commit the sources are at. It is also the time
each signature states, so that the same key signs the same bytes."""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import zipfile

# The earliest time a zip can hold, for sources outside git.
ZIP_EPOCH = 315532800


def release_time(source_dir):
    if os.environ.get("SOURCE_DATE_EPOCH", "").strip():
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        commit = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                                capture_output=True, text=True, check=True).stdout.strip()
        return int(commit)
    except (OSError, subprocess.CalledProcessError, ValueError):
        print(f"release_files.py: {source_dir} is not a git checkout and SOURCE_DATE_EPOCH is not set; "
              "the release files are dated 1980-01-01", file=sys.stderr)
        return ZIP_EPOCH


def stage(source_dir, folder, files):
    when = release_time(source_dir)
    os.makedirs(folder, exist_ok=True)
    for name in files:
        copy = os.path.join(folder, os.path.basename(name))
        shutil.copyfile(name, copy)
        os.utime(copy, (when, when))


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def file_sha256(path):
    with open(path, "rb") as f:
        return sha256(f.read())


def hashes(zip_path, setup_path):
    with zipfile.ZipFile(zip_path) as archive:
        for entry in sorted(archive.namelist()):
            if entry.lower().endswith(".exe"):
                print(f"{sha256(archive.read(entry))}  {entry} (in the zip)")
    for path in (zip_path, setup_path):
        print(f"{file_sha256(path)}  {os.path.basename(path)}")


def sign(argv):
    parser = argparse.ArgumentParser(prog="release_files.py sign")
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--timestamp")
    parser.add_argument("--name", required=True)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args(argv)
    when = release_time(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    for path in args.files:
        command = ["osslsigncode", "sign", "-certs", args.cert, "-key", args.key, "-h", "sha256",
                   "-n", args.name, "-time", str(when)]
        if args.timestamp:
            command += ["-ts", args.timestamp]
        # Through a pipe, where no other process can read it, unlike an argument.
        password = os.environ.get("VANTREL_SIGN_PASS", "")
        pipe = ()
        if password:
            pipe = os.pipe()
            os.write(pipe[1], password.encode())
            os.close(pipe[1])
            command += ["-readpass", f"/dev/fd/{pipe[0]}"]
        signed = path + ".signed"
        if os.path.exists(signed):
            os.remove(signed)
        try:
            result = subprocess.run(command + ["-in", path, "-out", signed], pass_fds=pipe[:1],
                                    capture_output=True, text=True)
        finally:
            if pipe:
                os.close(pipe[0])
        if result.returncode != 0:
            print(result.stdout + result.stderr, file=sys.stderr)
            print(f"release_files.py: osslsigncode could not sign {path}", file=sys.stderr)
            if os.path.exists(signed):
                os.remove(signed)
            return 1
        # The file keeps its date: setup gives it back on install.
        times = os.stat(path)
        os.replace(signed, path)
        os.utime(path, ns=(times.st_atime_ns, times.st_mtime_ns))
    return 0


def write_sums(out, lines):
    with open(out, "w", newline="\n") as f:
        f.writelines(f"{digest}  {name}\n" for digest, name in lines)


def sums_for_zip(out, folder, setup, files):
    lines = [(file_sha256(setup), os.path.basename(setup))] if setup != "-" else []
    lines += [(file_sha256(path), f"{folder}/{os.path.basename(path)}") for path in sorted(files)]
    write_sums(out, lines)


# The zip's own lines, each program's checked against the zip's entry.
def sums_beside_zip(out, zip_path):
    with zipfile.ZipFile(zip_path) as archive:
        inside = [name for name in archive.namelist() if name.endswith("/SHA256SUMS")]
        if len(inside) != 1:
            print(f"release_files.py: {zip_path} holds no SHA256SUMS", file=sys.stderr)
            return 1
        lines = []
        for line in archive.read(inside[0]).decode().splitlines():
            digest, name = line.split("  ", 1)
            if "/" in name and sha256(archive.read(name)) != digest:
                print(f"release_files.py: {name} in {zip_path} is not what SHA256SUMS says", file=sys.stderr)
                return 1
            lines.append((digest, name))
    write_sums(out, [(file_sha256(zip_path), os.path.basename(zip_path))] + lines)
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "epoch":
        print(release_time(argv[2]))
    elif len(argv) >= 4 and argv[1] == "stage":
        stage(argv[2], argv[3], argv[4:])
    elif len(argv) == 4 and argv[1] == "hashes":
        hashes(argv[2], argv[3])
    elif len(argv) >= 2 and argv[1] == "sign":
        return sign(argv[2:])
    elif len(argv) == 4 and argv[1] == "sums":
        return sums_beside_zip(argv[2], argv[3])
    elif len(argv) >= 5 and argv[1] == "sums":
        sums_for_zip(argv[2], argv[3], argv[4], argv[5:])
    else:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
