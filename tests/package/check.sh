#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh) and checks what it holds:
# - its file list against files.txt (patterns allowed);
# - lintian, on every level including pedantic (overrides justified in
#   debian/taviro.lintian-overrides);
# - one version in the package, CMake's project and the AppStream release;
# - the menu entry (desktop-file-validate; its icon is in the hicolor theme),
#   the AppStream data (appstreamcli validate) naming that entry;
# - the manual pages render without warnings and name every option the
#   programs' --help lists;
# - the packaged Taviro, run from the unpacked package under Xvfb with the
#   package's share folder in XDG_DATA_DIRS: its window's WM_CLASS is the
#   entry's StartupWMClass and carries an icon; it writes no menu entry of its
#   own, and its login item starts the packaged Startlet (and is skipped once
#   that is gone: TryExec).
# Usage: tests/package/check.sh OUTPUT-FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:?usage: $0 OUTPUT-FOLDER}
status=0
fail() {
  echo "FAIL: $*" >&2
  status=1
}

deb=$("$root/scripts/package.sh" "$out")
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== file list" >&2
mapfile -t patterns < <(grep -v '^#' "$here/files.txt")
mapfile -t packaged < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|')
declare -A used=()
for file in "${packaged[@]}"; do
  matched=
  for pattern in "${patterns[@]}"; do
    # shellcheck disable=SC2053  # the line is a pattern
    [[ $file == $pattern ]] && matched=1 && used[$pattern]=1
  done
  [[ -n $matched ]] || fail "packaged, but not in tests/package/files.txt: $file"
done
for pattern in "${patterns[@]}"; do
  [[ -n ${used[$pattern]:-} ]] || fail "in tests/package/files.txt, but not packaged: $pattern"
done

echo "== lintian" >&2
lintian --info --pedantic --fail-on error,warning,info,pedantic "${deb%.deb}.changes" ||
  fail "lintian"

echo "== versions" >&2
version=$(dpkg-deb -f "$deb" Version)
pkg=$work/root
dpkg-deb -x "$deb" "$pkg"
share=$pkg/usr/share
project=$(sed -n 's/^project(Taviro VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$share/metainfo/com.nivolt.Kestrom.metainfo.xml" | head -n 1)
[[ $version == "$project" && $version == "$release" ]] ||
  fail "package $version, CMake project $project, AppStream release $release"

echo "== menu entry and AppStream data" >&2
entry=$share/applications/com.nivolt.Kestrom.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate"
key() { sed -n "s/^$1=//p" "$entry"; }
[[ $(key Exec) == /usr/bin/taviro && -L $pkg/usr/bin/taviro && -x $pkg/usr/bin/taviro ]] ||
  fail "Exec=$(key Exec) does not start the packaged taviro"
icon=$(key Icon)
for size in scalable/apps/$icon.svg {16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/$icon.png; do
  [[ -f $share/icons/hicolor/$size ]] || fail "no hicolor icon $size for Icon=$icon"
done
appstreamcli validate --no-net "$share/metainfo/com.nivolt.Kestrom.metainfo.xml" >&2 ||
  fail "appstreamcli validate"
grep -q '<launchable type="desktop-id">com.nivolt.Kestrom.desktop</launchable>' \
  "$share/metainfo/com.nivolt.Kestrom.metainfo.xml" || fail "AppStream launchable"

echo "== manual pages" >&2
for page in taviro taviro-driver taviro-replay; do
  man_file=$share/man/man1/$page.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man_file" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page.1: $warnings"
  [[ $page == taviro ]] && continue
  text=$(zcat "$man_file")
  for option in $("$pkg/usr/bin/$page" --help | grep -o -- '--[a-z-]*' | sort -u); do
    [[ $text == *"${option//-/\\-}"* ]] || fail "$page.1 does not describe $option"
  done
done

echo "== the packaged Taviro's window and desktop entries" >&2
# Xvfb picks a free display itself and names it once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 300); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=:$(cat "$work/display")
home=$work/home
mkdir -p "$home"
chmod 700 "$home"
app=$pkg/usr/lib/taviro/Taviro.app/Contents/MacOS/Taviro
HOME=$home TMPDIR=$home XDG_RUNTIME_DIR=$home XDG_CONFIG_HOME=$home/config \
  XDG_DATA_HOME=$home/data XDG_DATA_DIRS=$share \
  "$app" --no-tray >"$work/taviro.log" 2>&1 &
pids+=($!)
# The shown window with a class (Qt's other windows are unmapped and have
# none). Outputs are matched whole: with pipefail, "xprop | grep -q" fails
# when grep leaves before xprop has written everything.
has_icon() { [[ $(xprop -id "$1" _NET_WM_ICON) == *"Icon ("* ]]; }
shown_window() {
  local id
  for id in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
    [[ $(xwininfo -id "$id") == *"Map State: IsViewable"* &&
      $(xprop -id "$id" WM_CLASS) == "WM_CLASS(STRING)"* ]] && echo "$id" && return
  done
  return 0
}
window=
for _ in $(seq 100); do
  window=$(shown_window)
  [[ -n $window ]] && has_icon "$window" && break
  sleep 0.1
done
if [[ -z $window ]]; then
  fail "no Taviro window; its log:"
  cat "$work/taviro.log" >&2
else
  class=$(xprop -id "$window" WM_CLASS | sed 's/.*, "\(.*\)"$/\1/')
  [[ $class == "$(key StartupWMClass)" ]] || fail "WM_CLASS $class, StartupWMClass=$(key StartupWMClass)"
  has_icon "$window" || fail "the window has no icon"
fi
[[ ! -e $home/data/applications/com.nivolt.Kestrom.desktop ]] ||
  fail "the packaged Taviro wrote a second menu entry into the user's folder"
startlet=$pkg/usr/lib/taviro/Taviro.app/Contents/Library/LoginItems/Startlet.app/Contents/MacOS/Startlet
login=$(cat "$home"/config/autostart/*.desktop 2>/dev/null || true)
[[ $login == *"Exec=\"$startlet\""* && $login == *"TryExec=$startlet"* ]] ||
  fail "the login item does not start the packaged Startlet: $login"

((status == 0)) && echo "The package checks passed." >&2
exit "$status"
