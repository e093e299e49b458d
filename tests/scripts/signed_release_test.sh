#!/usr/bin/env bash
# Signs a release with a throwaway certificate made here, then checks that
# osslsigncode accepts every signed file (the uninstaller inside the setup
# too, taken out with 7-Zip) and that the signatures are all that differ from
# the unsigned build in UNSIGNED_TREE. Run by scripts/test after the release.
set -eu
repo=$(cd "$(dirname "$0")/../.." && pwd)
unsigned=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -subj "/CN=Vantrel test signing" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" \
  -passout pass:throwaway >"$work/openssl.log" 2>&1 || { cat "$work/openssl.log"; exit 1; }
build=$work/signed
{ VANTREL_SIGN_CERT=$work/cert.pem VANTREL_SIGN_KEY=$work/key.pem \
    cmake -S "$repo" --preset windows -B "$build" -DBUILD_TESTING=OFF &&
  VANTREL_SIGN_PASS=throwaway cmake --build "$build" -j "$(nproc)" &&
  (cd "$build" && cpack --config CPackConfig.cmake); } >"$work/build.log" 2>&1 ||
  { tail -30 "$work/build.log"; echo "building the signed release failed"; exit 1; }

7zz x -o"$work/setup" "$build"/package/*-setup.exe uninstall.exe >"$work/7z.log" 2>&1 ||
  { cat "$work/7z.log"; echo "7-Zip could not take the uninstaller out of the setup"; exit 1; }
folder=$(basename "$build"/package/*.zip .zip)
failed=0
for file in "$build"/release-files/*.exe "$build"/package/*-setup.exe "$work/setup/uninstall.exe" \
            "$build/package/$folder"/*.exe; do
  if osslsigncode verify -CAfile "$work/cert.pem" -in "$file" >"$work/verify.log" 2>&1; then
    echo "${file#"$work"/}: $(grep -E '^(Signature verification|Number of verified)' "$work/verify.log" | tr '\n' ' ')"
  else
    cat "$work/verify.log"; echo "FAILED: ${file#"$work"/} is not signed as it should be"; failed=1
  fi
done
(cd "$build/package" && sha256sum --quiet -c SHA256SUMS) || failed=1

# With its signature taken off, each program is the unsigned build's, byte
# for byte, and that one carries none.
for file in "$build"/release-files/*.exe; do
  osslsigncode remove-signature -in "$file" -out "$work/stripped.exe" >/dev/null 2>&1 &&
    cmp -s "$work/stripped.exe" "$unsigned/release-files/${file##*/}" ||
    { echo "FAILED: ${file##*/} differs from the unsigned build by more than its signature"; failed=1; }
  rm -f "$work/stripped.exe"
  ! osslsigncode verify -in "$unsigned/release-files/${file##*/}" >/dev/null 2>&1 ||
    { echo "FAILED: the unsigned build's ${file##*/} carries a signature"; failed=1; }
done
[ $failed = 0 ] && echo "every file of the signed release verifies; signatures are all it adds"
exit $failed
