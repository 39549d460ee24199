#!/usr/bin/env bash
# Builds the release package a second time, from a clone of this commit at
# another path, and compares it byte for byte with the one in FOLDER.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
first=$1
other=$(mktemp -d)
trap 'rm -rf "$other"' EXIT
git clone -q "$root" "$other/velkin"
git -C "$other/velkin" checkout -q "$(git -C "$root" rev-parse HEAD)"
VELKIN_BUILD_DIR=$other/build "$other/velkin/tools/release" >"$other/release.log" 2>&1 || { cat "$other/release.log"; exit 1; }
cmp "$first/SHA256SUMS" "$other/build/release/SHA256SUMS"
cmp "$first/$(cut -d' ' -f3 "$first/SHA256SUMS")" "$other/build/release/$(cut -d' ' -f3 "$first/SHA256SUMS")"
echo "a second build of the package elsewhere gave the same bytes"
