#!/usr/bin/env bash
# The files a desktop and a software centre read: the AppStream metainfo as the build writes it
# passes `appstreamcli validate --no-net`, the screenshots it names are the ones in docs/, and it
# launches the menu entry that is installed. Skipped (77) without appstreamcli.
# usage: desktop_files.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
command -v appstreamcli >/dev/null || { echo "SKIP: appstreamcli missing (scripts/setup installs it)"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

metainfo=$build/packaging/org.quorvane.Quorvane.metainfo.xml
[ -f "$metainfo" ] || fail "no $metainfo (is the build done?)"
grep -q '@[A-Z_]*@' "$metainfo" && fail "unreplaced placeholders: $(grep -o '@[A-Z_]*@' "$metainfo" | sort -u)"

# Warnings fail the validation as errors do; infos and pedantic hints are shown only.
out=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) || { echo "$out"; fail "appstreamcli validate"; }
echo "$out"

# Every screenshot is a file of docs/, and the default one is among them.
shots=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|<image>||; s|</image>||')
[ -n "$shots" ] || fail "no screenshots"
for url in $shots; do
  [ -f "$source/docs/$(basename "$url")" ] || fail "screenshot $url is not in docs/"
done
grep -A2 '<screenshot type="default">' "$metainfo" | grep -q '<image>' || fail "no default screenshot"

# The launchable is the menu entry the install puts into applications/, with the same icon.
desktop_id=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -f "$source/packaging/$desktop_id" ] || fail "launchable $desktop_id is not in packaging/"
icon=$(sed -n 's|.*<icon type="stock">\(.*\)</icon>.*|\1|p' "$metainfo")
grep -qx "Icon=$icon" "$source/packaging/$desktop_id" || fail "$desktop_id has another icon than $icon"
[ -f "$build/icons/hicolor/48x48/apps/$icon.png" ] || fail "no theme icon $icon"
if command -v desktop-file-validate >/dev/null; then
  for entry in quorvane.desktop quorvane-autostart.desktop; do
    desktop-file-validate "$source/packaging/$entry" || fail "desktop-file-validate $entry"
  done
fi
echo "desktop files OK"
