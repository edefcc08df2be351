#!/usr/bin/env bash
# Shows the package on a fresh Debian 12: in a debootstrap chroot with nothing
# preinstalled, the README's run command (scripts/run.sh) installs the
# package's dependencies, builds and installs the package and starts the
# installed program (taviro-driver, as there is no display, asked for its
# --help); a second run goes straight to the program; tests/package/check.sh
# runs inside; with an X server of the host (Xvfb, icewm) run.sh starts the
# installed Taviro, and build/screenshots/fresh-debian-*.png show its window
# and its menu entry; `dpkg -L taviro` and `man taviro-replay` show the files
# and the page, and after `apt purge taviro` nothing of the package is left
# but the user's own files.
# Needs root and the network. Not part of scripts/test.sh (it downloads
# Debian). Usage: tests/package/fresh-debian.sh [CHROOT]   (default:
# build/fresh-debian; an existing one is used as it is)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
chroot=$(mkdir -p "${1:-$root/build/fresh-debian}" && cd "${1:-$root/build/fresh-debian}" && pwd)
[[ $(id -u) -eq 0 ]] || { echo "run as root" >&2; exit 1; }

if [[ ! -x $chroot/usr/bin/apt-get ]]; then
  command -v debootstrap >/dev/null || apt-get install -y --no-install-recommends debootstrap
  debootstrap bookworm "$chroot" http://deb.debian.org/debian
fi

# /proc, /sys, /dev, /dev/pts and the X server sockets of the host inside,
# taken away again on exit, with the X server and window manager started here.
mounted=()
pids=()
work=$(mktemp -d)
cleanup() {
  local i
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || umount -l "${mounted[i]}"; done
  rm -rf "$work"
}
trap cleanup EXIT
mount -t proc proc "$chroot/proc" && mounted+=("$chroot/proc")
mount -t sysfs sysfs "$chroot/sys" && mounted+=("$chroot/sys")
mount --bind /dev "$chroot/dev" && mounted+=("$chroot/dev")
mount --bind /dev/pts "$chroot/dev/pts" && mounted+=("$chroot/dev/pts")
mkdir -p /tmp/.X11-unix "$chroot/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$chroot/tmp/.X11-unix" && mounted+=("$chroot/tmp/.X11-unix")
cp /etc/resolv.conf "$chroot/etc/resolv.conf"

# The tree, as git has it (without build output).
rm -rf "$chroot/root/taviro"
mkdir -p "$chroot/root/taviro"
git -C "$root" ls-files -z -co --exclude-standard | (cd "$root" && tar --null -T - -cf -) |
  tar -C "$chroot/root/taviro" -xf -

inside() {
  chroot "$chroot" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive bash -c "$1"
}

echo "== scripts/run.sh --help, on a fresh Debian 12" >&2
inside 'cd /root/taviro && time scripts/run.sh --help'
echo "== again, nothing changed" >&2
inside 'cd /root/taviro && time scripts/run.sh --help'
echo "== again, after a change to a manual page" >&2
inside 'cd /root/taviro && echo ".\\\" changed" >>data/man/taviro.1 && time scripts/run.sh --help >/dev/null &&
  zcat /usr/share/man/man1/taviro.1.gz | tail -n 1'

echo "== tests/package/check.sh" >&2
inside 'apt-get install -y -qq --no-install-recommends lintian appstream desktop-file-utils man-db xvfb xauth x11-utils >/dev/null &&
  cd /root/taviro && tests/package/check.sh build/deb'

echo "== scripts/run.sh with a display: Taviro from the package under icewm" >&2
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 300); do [[ -s $work/display ]] && break; sleep 0.1; done
display=:$(cat "$work/display")
DISPLAY=$display HOME=$work icewm >/dev/null 2>&1 &
pids+=($!)
inside "cd /root/taviro && { DISPLAY=$display scripts/run.sh --no-tray >/root/run.log 2>&1 & echo \$! >/root/run.pid; }"
pids+=("$(cat "$chroot/root/run.pid")")
sleep 10
shots=$root/build/screenshots
mkdir -p "$shots"
import -display "$display" -window root "$shots/fresh-debian-window.png"
# The package's menu entry and icons, as a menu reads them from the chroot's
# /usr/share.
DISPLAY=$display HOME=$work XDG_CONFIG_HOME=$work XDG_CACHE_HOME=$work XDG_DATA_HOME=$work \
  XDG_DATA_DIRS=$chroot/usr/share rofi -show drun -show-icons -filter Taviro -theme Arc \
  -theme-str "element-icon { size: 48px; } listview { lines: 1; } window { width: 420px; }" \
  >/dev/null 2>&1 &
pids+=($!)
sleep 4
import -display "$display" -window "$(DISPLAY=$display xwininfo -root -tree | awk '/"rofi - drun"/ { print $1 }')" \
  "$shots/fresh-debian-menu.png"
echo "saved $shots/fresh-debian-window.png, $shots/fresh-debian-menu.png" >&2
echo "Taviro's log:" >&2
cat "$chroot/root/run.log" >&2
kill "$(cat "$chroot/root/run.pid")"
sleep 1
echo "The user's files Taviro wrote:" >&2
inside 'find /root/.config /root/.local -type f 2>/dev/null; cat /root/.config/autostart/*.desktop'

echo "== dpkg -L taviro" >&2
inside 'dpkg -L taviro' | tee "$chroot/root/taviro.list"
echo "== man taviro-replay" >&2
inside 'MANWIDTH=80 man taviro-replay | head -n 30'

# Left out: /root and /tmp, the user's home and runtime folder (Taviro's
# socket), and /var/cache/man, where man-db keeps the page it formatted above
# and expires it.
echo "== apt purge taviro" >&2
inside 'apt-get purge -y -qq taviro >/dev/null'
left=$(inside 'while read -r f; do [[ -e $f && ! -d $f ]] && echo "$f"; done </root/taviro.list
  find / -xdev \( -path /root -o -path /tmp -o -path /proc -o -path /sys -o -path /dev -o -path /var/cache/man \) -prune -o \
    \( -iname "*taviro*" -o -iname "*kestrom*" -o -iname "*startlet*" \) -print
  grep -rlis taviro /etc /usr /var/lib/systemd 2>/dev/null' || true)
if [[ -n $left ]]; then
  echo "Left behind after the purge:" >&2
  echo "$left" >&2
  exit 1
fi
echo "Nothing of the package is left outside the user's home and runtime folders." >&2
