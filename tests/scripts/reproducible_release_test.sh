#!/usr/bin/env bash
# Builds the 32-bit release files twice from these sources, in two build
# folders of different names, and checks that the programs, the zip and the
# setup program come out byte for byte the same. Run by scripts/test.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tree in one second-build; do
  build=$work/$tree/windows
  { cmake -S "$repo" --preset windows -B "$build" -DBUILD_TESTING=OFF &&
    cmake --build "$build" --target setup -j "$(nproc)" &&
    (cd "$build" && cpack --config CPackConfig.cmake); } >"$work/$tree.log" 2>&1 ||
    { tail -30 "$work/$tree.log"; echo "building the release in $build failed"; exit 1; }
  python3 "$repo/tools/release_files.py" hashes "$build"/package/*.zip "$build"/package/*-setup.exe >"$work/$tree.sha256"
done
cat "$work/one.sha256"
if ! diff "$work/one.sha256" "$work/second-build.sha256"; then
  echo "the two builds differ"
  exit 1
fi
echo "two builds in two folders gave the same release files"
