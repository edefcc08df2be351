#!/usr/bin/env bash
# Screenshots of Taviro under a virtual X server with a tray host: the panel
# opened with the tablet shown as connected and as not connected, each page,
# the window without a tray, the tray icon's tooltip and menu, on one screen
# and, where Xvfb gives two, on two; the mapping editor with stored
# settings; the shortcut editor, key tips and the test pad; the menu entry and
# the window with its icon. PNGs go to build/screenshots/.
# Usage: scripts/screenshots.sh [build-dir]   (default: build/app)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/app}
app=$build/Taviro.app/Contents/MacOS/Taviro
out=$root/build/screenshots
for tool in Xvfb trayer import convert xwininfo xdotool icewm rofi; do
  command -v "$tool" >/dev/null || { echo "missing $tool: scripts/deps.sh test" >&2; exit 1; }
done
[[ -x $app ]] || { echo "build Taviro first: cmake --build $build --target Taviro" >&2; exit 1; }
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A free display number.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
export DISPLAY=:$display

start_x() {  # screen sizes, e.g. "1600x900x24"
  local args=()
  local n=0
  for size in "$@"; do args+=(-screen "$n" "$size"); n=$((n + 1)); done
  screens=$n
  Xvfb "$DISPLAY" "${args[@]}" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
  trayer --SetDockType true --edge top --align right --widthtype request --height 24 \
    --tint 0x2b2b2b --transparent true --alpha 0 >"$work/trayer.log" 2>&1 &
  pids+=($!)
  sleep 1
}

stop_x() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  pids=()
}

# settings NAME ROTATION DISPLAY "SCREEN AREA" "TABLET AREA": the settings
# file the next `shot NAME` starts with (areas as "x y width height").
settings() {
  local dir=$work/$1/config/taviro
  mkdir -p "$dir"
  array() { printf '<array>'; printf '<real>%s</real>' $1; printf '</array>'; }
  cat >"$dir/com.nivolt.Kestrom.plist" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>com.pelmora.nivoltDriver.rotation</key><integer>$2</integer>
<key>com.pelmora.nivoltDriver.displayId</key><integer>$3</integer>
<key>com.pelmora.nivoltDriver.screenArea</key>$(array "$4")
<key>com.pelmora.nivoltDriver.tabletArea</key>$(array "$5")
</dict></plist>
EOF
}

# launch NAME PROGRAM ARGS...: runs PROGRAM with a private socket and config
# folder, logging to NAME.log; `launched` is its process id.
launch() {
  local name=$1
  shift
  local home=$work/$name
  mkdir -p "$home"
  chmod 700 "$home"  # also the runtime directory
  TMPDIR=$home XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home \
    "$@" >"$out/$name.log" 2>&1 &
  launched=$!
}

# grab NAME: saves the whole screen, then ends the launched program.
grab() {
  local name=$1
  if ((screens == 1)); then
    import -window root "$out/$name.png"
  else
    # One picture per X screen, side by side.
    local parts=()
    for ((i = 0; i < screens; i++)); do
      import -display "$DISPLAY.$i" -window root "$work/$name-$i.png"
      parts+=("$work/$name-$i.png")
    done
    convert "${parts[@]}" -background '#202124' -gravity north +append "$out/$name.png"
  fi
  kill "$launched" 2>/dev/null || true
  wait "$launched" 2>/dev/null || true
  echo "saved $out/$name.png"
}

# shot NAME ARGS...: Taviro with its panel opened.
shot() {
  local name=$1
  shift
  launch "$name" "$app" --open-panel "$@"
  sleep 3
  grab "$name"
}

start_x 1600x900x24
shot one-screen-connected --fake-connected
shot one-screen-disconnected
shot one-screen-no-tray --no-tray --fake-connected
for page in 0 1 2; do
  shot "one-screen-page-$page" --fake-connected --panel-page "$page"
done
# The tray icon (trayer's top-right corner): its tooltip on hovering, and its
# menu on a right click.
launch tray-tooltip "$app" --fake-connected
sleep 3
xdotool mousemove 1588 12 sleep 0.2 mousemove 1589 13
sleep 2
grab tray-tooltip
launch tray-menu "$app" --fake-connected
sleep 3
xdotool mousemove 1588 12 click 3
sleep 1
grab tray-menu
# The mapping editor: the whole tablet onto the whole display, upright and
# turned by 90 degrees.
settings mapping-rotation-0 0 0 "0 0 1600 900" "0 0 65535 65535"
shot mapping-rotation-0 --fake-connected --panel-page 0
settings mapping-rotation-90 90 0 "0 0 1600 900" "0 0 65535 65535"
shot mapping-rotation-90 --fake-connected --panel-page 0
stop_x

# The desktop's view of an installed Taviro: the menu entry and its icons
# installed into a private prefix (only those: the rest of an install goes to
# system folders), whose share folder the menu (rofi's application list, which
# finds the entry's icon in the hicolor theme) reads, shown with small and
# large icons; and the window with its icon in icewm's title bar and task bar.
start_x 1280x800x24
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" --component desktop >/dev/null
mkdir -p "$work/desktop-home"
HOME=$work/desktop-home icewm >"$work/icewm.log" 2>&1 &
pids+=($!)
sleep 1
for size in 24 64; do
  HOME=$work/desktop-home XDG_CONFIG_HOME=$work/desktop-home XDG_CACHE_HOME=$work/desktop-home \
    XDG_DATA_HOME=$work/desktop-home XDG_DATA_DIRS=$prefix/share:/usr/share \
    rofi -show drun -show-icons -filter Taviro -theme Arc \
    -theme-str "element-icon { size: ${size}px; } listview { lines: 1; } window { width: 420px; }" \
    >"$work/rofi.log" 2>&1 &
  rofi=$!
  sleep 4
  import -window "$(xwininfo -root -tree | awk '/"rofi - drun"/ { print $1 }')" \
    "$out/menu-entry-${size}px.png"
  kill "$rofi"
  wait "$rofi" 2>/dev/null || true
  echo "saved $out/menu-entry-${size}px.png"
done
shot window-with-icon --no-tray --fake-connected
stop_x

# Two screens: Xvfb gives two X screens (":N.0", ":N.1"), which Qt shows as
# two QScreens. Neither RandR monitors (xrandr --setmonitor) nor Xinerama
# give Qt a second screen on Xvfb. --panel-display picks the display the panel
# opens on.
start_x 1280x800x24 1024x768x24
shot two-screens-connected --fake-connected
shot two-screens-second-display --fake-connected --panel-display 1
shot two-screens-disconnected
shot two-screens-second-display-disconnected --panel-display 1
# Custom areas: part of the second display (its frame is 0 32 1024 768, y
# upwards) and part of the tablet.
settings two-screens-mapping-custom-area 0 1 "200 150 600 400" "8000 12000 40000 30000"
shot two-screens-mapping-custom-area --fake-connected --panel-page 0
stop_x

# The shortcut editor, the key tip and the test pad, shown by a helper built
# with the tests. The editor of key 1 as loaded, then A and F5 typed on the X
# keyboard (recorded by name from their X key codes); the tip of key 2 at the
# top of the first and of the second display; the panel's test page after two
# pen strokes of rising and falling pressure.
editors=$build/tests/app/shots_Editors
[[ -x $editors ]] || { echo "build the helper first: cmake --build $build --target shots_Editors" >&2; exit 1; }
start_x 1600x900x24
launch editor-key-1 "$editors" editor 1
editor=$(timeout 30 xdotool search --sync --name '^단축키 설정$' | head -1)
xdotool windowfocus --sync "$editor" key a F5
sleep 1
grab editor-key-1
launch key-tip-2 "$editors" tip 2 0
sleep 3
grab key-tip-2
launch test-pad-strokes "$editors" pad
sleep 5
grab test-pad-strokes
stop_x
start_x 1280x800x24 1024x768x24
launch two-screens-key-tip-2 "$editors" tip 2 1
sleep 3
grab two-screens-key-tip-2
stop_x
