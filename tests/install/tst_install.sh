#!/bin/sh
# `make install` into a temporary program folder (a name with a space and
# Chinese) and a temporary home: the desktop entry's Exec is the installed
# program, the icon is where the menu looks, and the user's books and settings
# already in the folder stay exactly as they were. Into a folder without books,
# under the widest umask: the delivered books are the user's alone, the folder
# keeps its mode.
# Usage: tst_install.sh <source folder> <build folder>
set -eu
src=$1
build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prog="$tmp/我的 进销存"
home="$tmp/home"
mkdir -p "$prog" "$home"
printf 'the user books' > "$prog/Kestrova.mdb"
printf '[Kestrova]\nUserPower=管理员\n' > "$prog/Kestrova.ini"
mkdir -p "$prog/Frf"
printf '# the user changed this one\n' > "$prog/Frf/CustomerSale.frf"
cp "$prog/Kestrova.mdb" "$tmp/books.before"
cp "$prog/Kestrova.ini" "$tmp/ini.before"

fail() { echo "FAIL: $*"; exit 1; }

# PACKAGES empty: a test never installs packages.
env -u XDG_DATA_HOME -u MAKEFLAGS -u MAKELEVEL HOME="$home" \
  make -s -C "$src" install PROGRAM_DIR="$prog" BUILD_DIR="$build" PACKAGES= >"$tmp/log" 2>&1 \
  || { cat "$tmp/log"; fail "make install"; }

entry="$home/.local/share/applications/kestrova.desktop"
[ -f "$entry" ] || fail "no desktop entry at $entry"
exec_line=$(grep '^Exec=' "$entry")
[ "$exec_line" = "Exec=\"$prog/Kestrova\"" ] || fail "Exec is <$exec_line>, not the installed program"
[ -x "$prog/Kestrova" ] || fail "the installed program is not executable"
cmp -s "$prog/Kestrova" "$build/Kestrova" || fail "the installed program is not the one built"
grep -q '^Name=Mirelo进销存$' "$entry" || fail "the entry is not named Mirelo进销存"
grep -q '^Icon=kestrova$' "$entry" || fail "the entry names no icon"
icon="$home/.local/share/icons/hicolor/256x256/apps/kestrova.png"
[ -s "$icon" ] || fail "no icon at $icon"
[ "$(head -c 4 "$icon" | tail -c 3)" = "PNG" ] || fail "the icon is no PNG"
cmp -s "$prog/Kestrova.mdb" "$tmp/books.before" || fail "the user's Kestrova.mdb was changed"
cmp -s "$prog/Kestrova.ini" "$tmp/ini.before" || fail "the user's Kestrova.ini was changed"
[ -f "$prog/Res/Blue+.ico" ] || fail "Res/ was not laid out"
[ "$(cat "$prog/Frf/CustomerSale.frf")" = "# the user changed this one" ] || fail "the user's own template was replaced"
cmp -s "$prog/Frf/Bill.frf" "$src/resources/Frf/Bill.frf" || fail "a missing template was not laid out"

fresh="$tmp/新的 进销存"
(umask 000 && env -u XDG_DATA_HOME -u MAKEFLAGS -u MAKELEVEL HOME="$home" \
  make -s -C "$src" install PROGRAM_DIR="$fresh" BUILD_DIR="$build" PACKAGES= >"$tmp/log" 2>&1) \
  || { cat "$tmp/log"; fail "make install into a folder without books"; }
cmp -s "$fresh/Kestrova.mdb" "$build/Kestrova.mdb" || fail "the delivered books were not laid out"
[ "$(stat -c %a "$fresh/Kestrova.mdb")" = 600 ] || fail "the delivered books are $(stat -c %a "$fresh/Kestrova.mdb"), not 600"
[ "$(stat -c %a "$fresh")" = 755 ] || fail "the program folder is $(stat -c %a "$fresh"), not 755"
[ ! -e "$fresh/.Kestrova.mdb.new" ] || fail "a half-made copy of the books was left"
echo "PASS"
