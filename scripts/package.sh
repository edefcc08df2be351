#!/usr/bin/env bash
# Builds Taviro's Debian package (dpkg-buildpackage, see debian/) from the
# working tree and prints the path of the .deb.
# Usage: scripts/package.sh [output-folder]   (default: build/deb)
# The tree is copied to <output-folder>/src and built there, so the checkout
# stays clean. The copy keeps its CMake build folder between runs, so a small
# change rebuilds little; when the tree has not changed since the last package
# nothing is done at all. The build's log is <output-folder>/build.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build/deb}" && cd "${1:-$root/build/deb}" && pwd)
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
deb=$out/taviro_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).deb

# The tree's files, without build output, git's data and what .gitignore
# leaves out for editors.
files=$out/files.list
(cd "$root" && find . \( -path './build*' -o -path ./.git -o -path ./out -o -path ./.cache \
  -o -name '*.swp' -o -name compile_commands.json \) -prune -o \( -type f -o -type l \) -print0 |
  LC_ALL=C sort -z) >"$files"
sum=$(cd "$root" && xargs -0 sha256sum <"$files" | sha256sum | cut -d' ' -f1)
if [[ -f $deb && $(cat "$out/source.sha256" 2>/dev/null) == "$sum" ]]; then
  echo "$deb"
  exit 0
fi

src=$out/src
mkdir -p "$src"
# All but the CMake build folder (obj-*) goes, so that removed files go too.
find "$src" -mindepth 1 -maxdepth 1 ! -name 'obj-*' -exec rm -rf {} +
(cd "$root" && tar --null -T "$files" -cf -) | tar -C "$src" -xf -
rm -f "$out/source.sha256"
echo "Building the Debian package (log: $out/build.log)" >&2
if ! (cd "$src" && dpkg-buildpackage -us -uc -b --no-pre-clean -J"$(nproc)") >"$out/build.log" 2>&1; then
  tail -n 30 "$out/build.log" | cut -c1-300 >&2
  echo "The package build failed; its log: $out/build.log" >&2
  exit 1
fi
echo "$sum" >"$out/source.sha256"
echo "$deb"
