#!/usr/bin/env bash
# Installs the Debian packages Taviro needs, quickly doing nothing when they are
# all present. Usage: scripts/deps.sh run|test
# "run": what building the Debian package and running Taviro take, read from
# debian/control (Build-Depends, Depends, Recommends) plus the packages every
# Debian package build assumes. "test": those and the test-only packages
# listed in scripts/deps/*.txt, one "test <package>" per line.
set -euo pipefail
mode=${1:-run}
here=$(cd "$(dirname "$0")" && pwd)
control=$here/../debian/control
case $mode in
  run | test) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

# The package names in the given fields of debian/control: the first of each
# set of alternatives, without version, architecture, profile or ":any";
# substitution variables such as ${shlibs:Depends} left out.
control_packages() {
  awk -v fields="$*" '
    BEGIN { n = split(fields, f, " "); for (i = 1; i <= n; i++) want[f[i]] = 1 }
    /^[^ \t#]/ { name = $0; sub(/:.*/, "", name); keep = (name in want); sub(/^[^:]*:/, "") }
    keep { print }' "$control" |
    tr ',' '\n' |
    sed -e 's/|.*//' -e 's/[[(<].*//' -e 's/\$[{][^}]*[}]//g' -e 's/:[a-z]*//' -e 's/[[:space:]]//g' |
    sed -e 's/^debhelper-compat$/debhelper/' -e '/^$/d'
}

wanted_packages() {
  control_packages Build-Depends Depends Recommends
  echo build-essential dpkg-dev | tr ' ' '\n'
  [[ $mode == test ]] || return 0
  local bad
  bad=$(grep -Hnv -E '^(test [a-z0-9.+-]+|#.*|)$' "$here"/deps/*.txt || true)
  if [[ -n $bad ]]; then
    echo "scripts/deps/*.txt hold test packages only (build and run packages belong in debian/control):" >&2
    echo "$bad" >&2
    exit 2
  fi
  cat "$here"/deps/*.txt | awk '$1 == "test" { print $2 }'
}

wanted=$(wanted_packages)
mapfile -t wanted < <(sort -u <<<"$wanted")
missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them as root (sudo $0 $mode) and run again." >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq -o Dpkg::Use-Pty=0 --no-install-recommends "${missing[@]}" >&2
