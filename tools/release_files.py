#!/usr/bin/env python3
"""The release files' one date, so that two builds of one commit give the
same bytes wherever and whenever they are made.

  release_files.py epoch SOURCE_DIR            the release time, in seconds
  release_files.py stage SOURCE_DIR DIR FILE...
                                               copies each FILE into DIR with
                                               that time as its file time
  release_files.py hashes ZIP SETUP            SHA-256 of the programs in
                                               ZIP, of ZIP and of SETUP

The release time is SOURCE_DATE_EPOCH when set (the convention packagers
use), else the time of the commit the sources are at."""

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


def hashes(zip_path, setup_path):
    with zipfile.ZipFile(zip_path) as archive:
        for entry in sorted(archive.namelist()):
            if entry.lower().endswith(".exe"):
                print(f"{sha256(archive.read(entry))}  {entry} (in the zip)")
    for path in (zip_path, setup_path):
        with open(path, "rb") as f:
            print(f"{sha256(f.read())}  {os.path.basename(path)}")


def main(argv):
    if len(argv) == 3 and argv[1] == "epoch":
        print(release_time(argv[2]))
    elif len(argv) >= 4 and argv[1] == "stage":
        stage(argv[2], argv[3], argv[4:])
    elif len(argv) == 4 and argv[1] == "hashes":
        hashes(argv[2], argv[3])
    else:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
