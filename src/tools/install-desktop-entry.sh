#!/bin/sh
# Puts "Mirelo进销存" in the user's application menu: a desktop entry that
# starts the installed program, and its icon.
# Usage: install-desktop-entry.sh <installed program> <icon png> <data home>
set -eu
program=$1
icon=$2
data=$3
apps="$data/applications"
icons="$data/icons/hicolor/256x256/apps"
mkdir -p "$apps" "$icons"
cp "$icon" "$icons/kestrova.png.new"
mv -f "$icons/kestrova.png.new" "$icons/kestrova.png"

# Exec holds the path quoted; inside the quotes \ " ` $ take a backslash, and the
# file's own string rule then doubles every backslash. A % is written %%.
quoted=$(printf '%s' "$program" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
entry="$apps/kestrova.desktop"
cat > "$entry.new" <<ENTRY
[Desktop Entry]
Type=Application
Name=Mirelo进销存
GenericName=进销存
Comment=鞋业进销存：销售、进货、收支、库存
Exec="$quoted"
Icon=kestrova
Terminal=false
Categories=Office;Finance;
StartupNotify=true
ENTRY
mv -f "$entry.new" "$entry"

# Menus and icon caches that are kept up to date by hand, when the tools are there.
if command -v update-desktop-database >/dev/null 2>&1; then
  update-desktop-database -q "$apps" 2>/dev/null || true
fi
if [ -f "$data/icons/hicolor/icon-theme.cache" ] && command -v gtk-update-icon-cache >/dev/null 2>&1; then
  gtk-update-icon-cache -q -t -f "$data/icons/hicolor" 2>/dev/null || true
fi
echo "Desktop entry: $entry"
