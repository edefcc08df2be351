#!/usr/bin/env bash
# Runs taviro-replay from the outside: the bundled stroke and the recordings
# in cases/ against their recorded output, option combinations, malformed
# input and options.
# Usage: replay_test.sh TAVIRO-REPLAY DATA-DIR EXPECTED-DIR
# When the sample or the driver changes on purpose, regenerate the recordings with
#   taviro-replay [--show-pressure] data/sample-stroke.txt 2>/dev/null > tests/tools/<file>
# and, in tests/tools/cases, for each NAME.txt (its "# replay:" line gives the options)
#   taviro-replay OPTIONS NAME.txt 2>/dev/null > NAME.expected
set -uo pipefail
replay=$1 data=$2 expected=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect_output NAME EXPECTED-FILE ARGS...   (exit 0, stdout as recorded)
expect_output() {
  local name=$1 want=$2; shift 2
  "$replay" "$@" >"$work/out" 2>"$work/err" || { fail "$name: exit status $? ($(tail -1 "$work/err"))"; return; }
  diff -u "$want" "$work/out" >"$work/diff" || { fail "$name: output differs"; cat "$work/diff" >&2; }
}

# expect_error NAME MESSAGE-PATTERN INPUT-TEXT [ARGS...]  (exit 2, nothing on stdout)
expect_error() {
  local name=$1 pattern=$2 input=$3; shift 3
  printf '%b' "$input" >"$work/in.txt"
  "$replay" "$@" <"$work/in.txt" >"$work/out" 2>"$work/err"
  local status=$?
  [[ $status -eq 2 ]] || fail "$name: exit status $status, expected 2"
  [[ -s $work/out ]] && fail "$name: printed on stdout: $(head -2 "$work/out")"
  grep -q -- "$pattern" "$work/err" || fail "$name: stderr lacks \"$pattern\": $(cat "$work/err")"
}

expect_output "sample stroke" "$expected/sample-stroke.expected" "$data/sample-stroke.txt"
expect_output "sample stroke with pressure" "$expected/sample-stroke-pressure.expected" \
  --show-pressure "$data/sample-stroke.txt"
expect_output "standard input" "$expected/sample-stroke.expected" <"$data/sample-stroke.txt"

# Recorded behaviour, one case per file: NAME.txt holds the reports (and, on a
# "# replay:" line, the options), NAME.expected the output.
cases=0
for reports in "$expected"/cases/*.txt; do
  read -ra options < <(sed -n 's/^# replay: //p' "$reports")
  cd "$expected/cases"  # options name files beside the case
  expect_output "case $(basename "$reports" .txt)" "${reports%.txt}.expected" "${options[@]}" "$reports"
  cd - >/dev/null
  cases=$((cases + 1))
done
((cases >= 5)) || fail "only $cases case files in $expected/cases"

# Log lines stay on stderr.
"$replay" "$data/sample-stroke.txt" 2>"$work/err" >/dev/null
grep -q '^-\[BTDriverManager updateStylusStatus\]\[Line [0-9]*\] \[info\] >>>mouseDown$' "$work/err" \
  || fail "log lines: no mouseDown line on stderr"

# Settings and displays: a second display of 1280x1024 as the target, mapped
# whole (its frame's y is 1080 - 1024 = 56 from the main display's bottom).
k=com.pelmora.nivoltDriver
printf '<?xml version="1.0"?><plist version="1.0"><dict><key>%s.displayId</key><integer>1</integer>
<key>%s.screenArea</key><array><real>1920</real><real>56</real><real>1280</real><real>1024</real></array>
</dict></plist>\n' $k $k >"$work/settings.plist"
printf '08 C0 00 00 00 00 00 00\n%.0s' 1 2 3 4 >"$work/corner.txt"
"$replay" --settings "$work/settings.plist" --displays 1920x1080+0+0,1280x1024+1920+0 \
  "$work/corner.txt" >"$work/out" 2>/dev/null || fail "settings: exit status $?"
grep -qx 'post type=24 x=1920 y=0 enter=1' "$work/out" \
  || fail "settings: expected the corner of the second display, got: $(cat "$work/out")"

# The pen starts where the pointer is: a side button applied before any
# position group closes enters range there.
printf '08 C2 00 00 00 00 00 00\n' | "$replay" --pointer 100,50 2>/dev/null | head -1 >"$work/out"
grep -qx 'post type=5 x=100 y=50 proximity enter=1' "$work/out" \
  || fail "pointer: got $(cat "$work/out")"
expect_error "missing pointer value" "needs a value" "" --pointer

expect_error "too few bytes" "standard input:2: expected 8 to 64 byte pairs, found 3" \
  "# comment\n08 C1 00\n"
expect_error "too many bytes" ":1: expected 8 to 64 byte pairs, found 65" \
  "$(printf '00 %.0s' $(seq 65))\n"
expect_error "not hexadecimal" "standard input:3: \"ZZ\" is not a hexadecimal byte pair" \
  "08 C0 00 00 00 00 00 00\n\n08 C1 ZZ 00 00 00 00 00\n"
expect_error "single digit" "\"0\" is not a hexadecimal byte pair" "08 C1 0 00 00 00 00 00 00\n"
expect_error "bad time stamp" ":1: bad time stamp" "1.2.3: 08 C0 00 00 00 00 00 00\n"
for line in '08C1 00 00 00 00 00 00 00' '0x08 C1 00 00 00 00 00 00' ':08 C1 00 00 00 00 00 00' \
            '-1: 08 C1 00 00 00 00 00 00' '1: '; do
  expect_error "malformed \"$line\"" "standard input:2: " "08 C0 00 00 00 00 00 00\n$line\n"
done
for displays in 1920x1080 0x1080+0+0 axb+0+0 1920x1080+0+0, ''; do
  expect_error "bad displays \"$displays\"" "bad --displays" "" --displays "$displays"
done
"$replay" --displays 1920x1080+0+0,1280x1024+-1280+56 --pointer 10.5,-3 </dev/null >/dev/null 2>&1 \
  || fail "negative display origins and fractional pointers: exit status $?"
expect_error "two reports files" "only one reports file" "" "$work/a.txt" "$work/b.txt"
expect_error "unknown option" "unknown option --frobnicate" "" --frobnicate
expect_error "missing reports file" "cannot open $work/none.txt" "" "$work/none.txt"
printf 'not a plist' >"$work/bad.plist"
expect_error "bad settings" "cannot read settings file" "" --settings "$work/bad.plist"

# Shortcuts: with --shortcuts the executor's effects follow each shortcut line
# (what the executor does for each command is the shortcuts tests' business).
cat >"$work/shortcuts.json" <<'JSON'
{"2": {"enableKeyboard": 1, "keyboardEvent": "Z ", "shortcutEvent": "Ctrl+Shift+",
       "shortcut": "Ctrl+Shift+Z ", "enableMouse": 0, "mouse": "MouseLeft;", "enableFunc": 0,
       "function": "Monitor;", "enableRun": 0, "filePath": ""},
 "5": {"enableKeyboard": 0, "keyboardEvent": "", "shortcutEvent": "", "shortcut": "",
       "enableMouse": 1, "mouse": "MouseRight;", "enableFunc": 0, "function": "Monitor;",
       "enableRun": 0, "filePath": ""}}
JSON
# press KEY: express key KEY down, then all keys up.
press() { printf '08 E0 00 00 %02X 00 00 00\n08 E0 00 00 00 00 00 00\n' "$1"; }
# expect_lines NAME EXPECTED-LINES < REPORTS  (the lines other than post lines)
expect_lines() {
  local name=$1 want=$2
  "$replay" --shortcuts "$work/shortcuts.json" 2>"$work/err" | grep -v '^post ' >"$work/out"
  printf '%s\n' "$want" | diff -u - "$work/out" >"$work/diff" \
    || { fail "$name: output differs"; cat "$work/diff" >&2; }
}
# Express key 3 pressed, then released: key index 2 runs down, then up.
expect_lines "express key chord" 'shortcut key=2 down=1 command="Ctrl+Shift+Z;"
notify DownKey kid=2
key code=6 flags=0x60000 down=1
shortcut key=2 down=0 command="Ctrl+Shift+Z;"
key code=6 flags=0x60000 down=0' < <(press 3)
# Stylus button 1 held over five reports runs once, and again on release.
expect_lines "stylus button held" 'shortcut key=5 down=1 command="MouseRight;"
notify DownKey kid=5
mouse button=1 type=3 clicks=1
shortcut key=5 down=0 command="MouseRight;"
mouse button=1 type=4 clicks=1' < <(printf '08 C2 00 40 00 00 40 00\n%.0s' 1 2 3 4 5
                                     printf '08 C0 00 40 00 00 40 00\n%.0s' 1 2 3 4)
# Without shortcuts the hand-off still prints, with an empty command.
press 3 | head -1 | "$replay" 2>/dev/null | grep -v '^post ' >"$work/out"
printf 'shortcut key=2 down=1 command=""\n' | diff -q - "$work/out" >/dev/null \
  || fail "no shortcuts: got $(cat "$work/out")"
printf '{"2": ' >"$work/broken.json"
expect_error "broken shortcuts" "shortcuts file $work/broken.json is not JSON" "" \
  --shortcuts "$work/broken.json"
printf '[1, 2]' >"$work/array.json"
expect_error "shortcuts not an object" "is not a JSON object" "" --shortcuts "$work/array.json"
expect_error "missing shortcuts" "cannot open shortcuts file" "" --shortcuts "$work/none.json"

# Time stamps, blanks, tabs, CRLF line ends and more than 8 bytes are accepted.
printf '0.5:\t08 C0 00 00 00 00 00 00 FF\r\n  # indented comment\n   \n' >"$work/ok.txt"
"$replay" "$work/ok.txt" >/dev/null 2>&1 || fail "accepted forms: exit status $?"

if ((failures)); then
  echo "$failures replay check(s) failed" >&2
  exit 1
fi
echo "all replay checks passed"
