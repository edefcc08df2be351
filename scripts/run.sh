#!/usr/bin/env bash
# Builds Taviro's Debian package, installs it with apt and starts the
# installed Taviro; without a display it starts the installed headless driver,
# taviro-driver, instead. Arguments are passed to the program. Installing
# needs root (run it as root, or it asks sudo). Nothing is rebuilt or
# reinstalled when nothing changed. To run from the build tree without
# installing, see scripts/run-build-tree.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "Installing the package needs root: run $0 as root." >&2
    exit 1
  fi
}

"$root/scripts/deps.sh" run 2>/dev/null || as_root "$root/scripts/deps.sh" run
deb=$("$root/scripts/package.sh")
version=$(dpkg-deb -f "$deb" Version)
installed=$(dpkg-query -W -f='${Status} ${Version}' taviro 2>/dev/null || true)
stamp=$(dirname "$deb")/installed.sha256
sum=$(sha256sum "$deb" | cut -d' ' -f1)
if [[ $installed != "install ok installed $version" || $(cat "$stamp" 2>/dev/null) != "$sum" ]]; then
  echo "Installing $deb" >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 --reinstall "$deb" >&2
  echo "$sum" >"$stamp"
fi

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec taviro "$@"
fi
echo "No display found: running the headless driver (taviro-driver)." >&2
exec taviro-driver "$@"
