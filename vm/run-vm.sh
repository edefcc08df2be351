#!/usr/bin/env bash
# Boots Debian's kernel in QEMU (TCG) with an initramfs built here and now:
# busybox, the kernel's hid, evdev, uhid, uinput and hid-generic modules (with
# their dependencies), the given programs and the shared libraries they need.
# The guest runs SCENARIO (a busybox shell script) and reports on the serial
# console; the run passes when the console shows "VM-RESULT PASS".
#
# Usage: vm/run-vm.sh SCENARIO LOG PROGRAM[=GUESTPATH]... [-- FILE=GUESTPATH...]
# Programs go to /bin unless a guest path is given; files and folders are
# copied as they are.
# Environment: TAVIRO_VM_KERNEL (a vmlinuz path) picks another kernel;
# TAVIRO_VM_TIMEOUT (seconds, default 240) bounds the run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scenario=$1 log=$2
shift 2
programs=() files=()
while (($#)); do
  if [[ $1 == -- ]]; then shift; files=("$@"); break; fi
  programs+=("$1"); shift
done

die() { echo "run-vm: $*" >&2; exit 1; }
for tool in qemu-system-x86_64 cpio gzip ldd; do
  command -v "$tool" >/dev/null || die "$tool is missing (scripts/deps.sh test installs qemu-system-x86, busybox-static, cpio)"
done
[[ -x /bin/busybox ]] && ! ldd /bin/busybox >/dev/null 2>&1 ||
  die "a static /bin/busybox is needed (busybox-static)"

# The newest installed Debian kernel that ships the modules we need.
kernel=${TAVIRO_VM_KERNEL:-}
if [[ -z $kernel ]]; then
  for k in $(ls -1 /boot/vmlinuz-* 2>/dev/null | sort -V -r); do
    v=${k#/boot/vmlinuz-}
    if [[ -n $(find "/lib/modules/$v/kernel/drivers/hid" -name 'uhid.ko*' 2>/dev/null) ]]; then
      kernel=$k; break
    fi
  done
fi
[[ -n $kernel ]] || die "no kernel with the uhid module in /boot (install linux-image-amd64)"
[[ -r $kernel ]] || die "cannot read $kernel (Debian makes it readable by root only): run as root, or set TAVIRO_VM_KERNEL to a readable copy"
kver=${kernel#/boot/vmlinuz-}
moddir=/lib/modules/$kver

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
mkdir -p "$root"/{bin,dev,proc,sys,tmp,run,root,lib/modules}
cp /bin/busybox "$root/bin/busybox"

# Modules in load order: each module's dependencies (modules.dep lists them)
# before the module itself.
declare -A loaded=()
order=()
add_module() {
  local name=$1 line path deps dep
  line=$(grep -E "(^|/)$name\.ko(\.[a-z]+)?:" "$moddir/modules.dep" | head -n1) ||
    die "module $name not found for kernel $kver"
  path=${line%%:*}
  [[ -n ${loaded[$path]:-} ]] && return
  deps=${line#*:}
  for dep in $deps; do
    dep=$(basename "$dep"); add_module "${dep%%.ko*}"
  done
  loaded[$path]=1
  order+=("$path")
}
for m in hid evdev uhid uinput hid-generic; do add_module "$m"; done
: > "$root/lib/modules/order"
for path in "${order[@]}"; do
  base=$(basename "$path")
  case $base in
    *.ko) cp "$moddir/$path" "$root/lib/modules/$base" ;;
    *.ko.xz) xz -dc "$moddir/$path" > "$root/lib/modules/${base%.xz}"; base=${base%.xz} ;;
    *.ko.zst) zstd -qdc "$moddir/$path" > "$root/lib/modules/${base%.zst}"; base=${base%.zst} ;;
    *) die "unknown module format: $base" ;;
  esac
  echo "$base" >> "$root/lib/modules/order"
done

# Programs and every shared library they load, at the same paths.
for p in "${programs[@]}"; do
  src=${p%%=*} dst=/bin/$(basename "${p%%=*}")
  [[ $p == *=* ]] && dst=${p#*=}
  [[ -x $src ]] || die "program $src not built (or not installed: scripts/deps.sh test)"
  mkdir -p "$root$(dirname "$dst")"
  cp "$src" "$root$dst"
  for lib in $(ldd "$src" | grep -oE '/[^ ]+\.so[^ ]*' | sort -u); do
    mkdir -p "$root$(dirname "$lib")"
    cp -L "$lib" "$root$lib"
  done
done
for f in "${files[@]}"; do
  src=${f%%=*} dst=${f#*=}
  [[ -e $src ]] || die "$src is missing (scripts/deps.sh test installs what the VM needs)"
  mkdir -p "$root$(dirname "$dst")"
  cp -r "$src" "$root$dst"
done
# libudev looks for symlinks at /lib64 and /usr on merged-/usr systems.
[[ -e $root/lib64 ]] || ln -s lib "$root/lib64" 2>/dev/null || true

cp "$here/guest/init.sh" "$root/init"
cp "$scenario" "$root/scenario.sh"
chmod +x "$root/init" "$root/scenario.sh"
(cd "$root" && find . | cpio -o -H newc --quiet | gzip -1) > "$work/initrd.gz"

timeout_s=${TAVIRO_VM_TIMEOUT:-240}
echo "run-vm: booting $kernel with $(basename "$scenario"), log in $log" >&2
set +e
timeout --foreground "$timeout_s" qemu-system-x86_64 -accel tcg -cpu max -m 512 \
  -nographic -no-reboot -nic none -kernel "$kernel" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet loglevel=4 panic=-1 rdinit=/init" </dev/null > "$log" 2>&1
status=$?
set -e
tr -d '\r' < "$log" | grep -oE '(VM-|BENCH).*' || true
if ((status == 124)); then
  echo "run-vm: the VM did not finish within ${timeout_s}s; see $log" >&2
  exit 1
fi
if tr -d '\r' < "$log" | grep -q '^VM-RESULT PASS'; then
  exit 0
fi
echo "run-vm: the scenario failed; last console lines:" >&2
tr -d '\r' < "$log" | tail -n 40 >&2
exit 1
