#!/usr/bin/env bash
# `cpack -G DEB` from the build tree: what the package holds and where, its dependencies and
# maintainer scripts, and lintian finding no error. Skipped (77) without Debian's tools.
# usage: deb_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
for tool in cpack dpkg-deb dpkg-shlibdeps lintian file help2man readelf; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing (scripts/setup installs it)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/quorvane_*.deb)

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/contents"
has() { grep -qx -- "$1" "$work/contents" || fail "the package has no $1"; }
has /usr/bin/quorvane
has /usr/bin/quorvanectl
has /usr/libexec/quorvane/quorvane
has /usr/libexec/quorvane/quorvanectl
has /usr/libexec/quorvane/libHidServ.so
has /usr/libexec/quorvane/Skins
has /usr/share/quorvane/Skins/Main.ini
has /usr/share/quorvane/Help/index.html
has /usr/lib/udev/rules.d/60-quorvane-keyboard.rules
has /etc/xdg/autostart/quorvane.desktop
has /usr/share/applications/quorvane.desktop
has /usr/share/metainfo/org.quorvane.Quorvane.metainfo.xml
has /usr/share/man/man1/quorvane.1.gz
has /usr/share/man/man1/quorvanectl.1.gz
has /usr/share/doc/quorvane/copyright
has /usr/share/doc/quorvane/changelog.gz
has /usr/share/bash-completion/completions/quorvanectl
[ ! -e "$source/packaging/quorvanectl.zsh" ] || has /usr/share/zsh/vendor-completions/_quorvanectl
[ ! -e "$source/packaging/quorvanectl.fish" ] || has /usr/share/fish/vendor_completions.d/quorvanectl.fish
for size in 16 22 24 32 48 64 128 256 512; do has "/usr/share/icons/hicolor/${size}x${size}/apps/quorvane.png"; done
stray=$(grep -v -e '^/usr/' -e '^/etc/' -e '^/$' "$work/contents" || true)
[ -z "$stray" ] || fail "outside /usr and /etc: $stray"
if grep -q '^/usr/local' "$work/contents"; then fail "files in /usr/local"; fi

# Fields and scripts.
control=$(dpkg-deb -f "$deb")
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libqt6widgets6 libhidapi-hidraw0 libudev1; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
grep -q '^Package: quorvane$' <<<"$control" || fail "package name: $control"
dpkg-deb -e "$deb" "$work/control"
grep -q 'udevadm control --reload-rules' "$work/control/postinst" || fail "postinst does not reload the udev rules"
[ -x "$work/control/postinst" ] || fail "postinst is not executable"
grep -qx '/etc/xdg/autostart/quorvane.desktop' "$work/control/conffiles" || fail "the autostart entry is no conffile"

# Stripped, without debug sections, and the unpacked tree runs from where it is.
dpkg-deb -x "$deb" "$work/root"
for elf in quorvane quorvanectl libHidServ.so; do
  if readelf -S "$work/root/usr/libexec/quorvane/$elf" | grep -q -e '\.debug_' -e '\.symtab'; then
    fail "$elf keeps its debug symbols"
  fi
done
zcat "$work/root/usr/share/man/man1/quorvanectl.1.gz" | grep -q 'SUBCOMMAND\|info' || fail "quorvanectl.1 lacks the commands"
QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE=$work/sim-state HOME=$work XDG_RUNTIME_DIR=$work \
  "$work/root/usr/bin/quorvanectl" info | grep -q '^keyboards: 1' || fail "the unpacked quorvanectl does not run"

# lintian: neither errors nor warnings; its infos are shown.
lintian --display-info "$deb" >"$work/lintian.txt" 2>&1 || true
grep -v '^N:' "$work/lintian.txt" | grep -v 'running with root privileges' || true
if grep -q '^[EW]:' "$work/lintian.txt"; then fail "lintian reports errors or warnings"; fi
echo "package OK: $(basename "$deb")"
