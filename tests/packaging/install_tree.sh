#!/usr/bin/env bash
# `cmake --install` into a prefix of the test's own: every file lands under it, and the installed
# programs find their program folder, skin and simulated keyboard from there, also after the
# tree is moved and when started through a link.
# It runs as an ordinary user: started as root, it runs itself again as nobody, which can write
# nowhere but its own temporary folder, so a destination outside the prefix fails the install.
# usage: install_tree.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2

if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || { echo "SKIP: root, and no setpriv to run as an ordinary user"; exit 77; }
  # A checkout in a folder only root may enter cannot be installed by an ordinary user at all.
  setpriv --reuid=65534 --regid=65534 --clear-groups -- test -r "$0" -a -r "$build/cmake_install.cmake" || {
    echo "SKIP: the ordinary user nobody cannot read $build or this script"; exit 77; }
  # cmake --install writes its list of installed files into the build folder, the one place
  # outside the prefix it must write to.
  manifest=$build/install_manifest.txt
  owner=$(stat -c %u:%g "$build")
  touch "$manifest" && chown 65534:65534 "$manifest"
  status=0
  setpriv --reuid=65534 --regid=65534 --clear-groups -- bash "$0" "$@" || status=$?
  chown "$owner" "$manifest"
  exit "$status"
fi

work=$(mktemp -d)
trap 'kill "${window:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_STATE_HOME=$work/home/.state
export XDG_RUNTIME_DIR=$work/run QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE=$work/sim-state
export TMPDIR=$work
# What Qt and X keep at exit is no matter of the install (under the sanitizers).
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset DESTDIR

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "cmake --install"; }

# Nothing outside the prefix: neither in the manifest nor where a link points.
outside=$(grep -v "^$prefix/" "$build/install_manifest.txt" || true)
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
while IFS= read -r link; do
  target=$(readlink -f "$link")
  case $target in "$prefix"/*) ;; *) fail "$link points outside the prefix: $target" ;; esac
  [ -e "$target" ] || fail "$link points nowhere: $(readlink "$link")"
done < <(find "$prefix" -type l)

for f in bin/quorvane bin/quorvanectl libexec/quorvane/quorvane libexec/quorvane/quorvanectl \
         libexec/quorvane/libHidServ.so libexec/quorvane/Skins/Main.ini libexec/quorvane/Skins/language.ini \
         libexec/quorvane/Help/index.html lib/udev/rules.d/60-quorvane-keyboard.rules \
         etc/xdg/autostart/quorvane.desktop share/applications/quorvane.desktop \
         share/metainfo/org.quorvane.Quorvane.metainfo.xml share/icons/hicolor/48x48/apps/quorvane.png \
         share/bash-completion/completions/quorvanectl share/zsh/vendor-completions/_quorvanectl \
         share/fish/vendor_completions.d/quorvanectl.fish share/doc/quorvane/copyright; do
  [ -e "$prefix/$f" ] || fail "missing $f"
done
if command -v help2man >/dev/null; then
  for page in quorvane quorvanectl; do
    zcat "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH \"\?${page^^}" || fail "man page $page.1"
  done
  # Every command that quorvanectl lists has its section, with its options, in the page.
  zcat "$prefix/share/man/man1/quorvanectl.1.gz" >"$work/quorvanectl.1"
  commands=$("$prefix/bin/quorvanectl" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z0-9-]*\).*/\1/p')
  [ -n "$commands" ] || fail "quorvanectl --help lists no commands"
  for command in $commands; do
    grep -qx ".SS \"$command\"" "$work/quorvanectl.1" || fail "quorvanectl.1 has no section for $command"
  done
  grep -q -- '--profile' "$work/quorvanectl.1" || fail "quorvanectl.1 lacks the commands' options"
  if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l -Tutf8 -Z "$work/quorvanectl.1" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "quorvanectl.1 does not format cleanly: $warnings"
  fi
fi

# The installed programs, by their launchers; the second round after moving the whole tree.
check_tree() {
  local root=$1
  local info
  info=$("$root/bin/quorvanectl" info) || fail "quorvanectl info from $root"
  grep -q "^keyboards: 1" <<<"$info" || fail "quorvanectl info from $root: $info"
  "$root/bin/quorvanectl" paths | grep -q "$root/libexec/quorvane" || fail "quorvanectl paths from $root"
  local help
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/quorvane" --help) || fail "quorvane --help"
  grep -q "/Start" <<<"$help" || fail "quorvane --help lists no /Start: $help"
  [ "$("$root/bin/quorvane" --version)" = "quorvane $version" ] || fail "quorvane --version"
  if "$root/bin/quorvane" --help >/dev/full 2>/dev/null; then fail "quorvane --help into a full disk exits 0"; fi

  # The window itself: a program folder it cannot use would end it at once.
  QT_QPA_PLATFORM=offscreen "$root/bin/quorvane" /Start >"$work/window.log" 2>&1 &
  window=$!
  sleep 2
  kill -0 "$window" 2>/dev/null || { cat "$work/window.log"; fail "quorvane from $root ended at once"; }
  QT_QPA_PLATFORM=offscreen "$root/bin/quorvane" /Kill
  for _ in $(seq 50); do kill -0 "$window" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$window" 2>/dev/null; then fail "quorvane /Kill did not end the window"; fi
  wait "$window" || fail "the window ended with $?"
  window=
}
check_tree "$prefix"
mv "$prefix" "$work/moved"
check_tree "$work/moved"
mkdir "$work/elsewhere" && ln -s "$work/moved/bin/quorvanectl" "$work/elsewhere/quorvanectl"
"$work/elsewhere/quorvanectl" info | grep -q "^keyboards: 1" || fail "quorvanectl through a link"
echo "install tree OK"
