#!/usr/bin/env bash
# The Debian package on the machine itself: built by CPack, installed, started
# by two ordinary users from its read-only install, removed. It changes the
# machine (package, users), so it runs only in CI as root.
# Arguments: the build folder.
set -euo pipefail
if [ "${CI:-}" != true ] || [ "$(id -u)" -ne 0 ]; then
  echo "skipped: needs CI=true and root"
  exit 77
fi
build=$1
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/bramasolovanti_*.deb | head -1)
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
dpkg-deb -f "$deb" Recommends | grep -q qt6-translations-l10n
dpkg -i "$deb" >/dev/null
users=(bramatest1 bramatest2)
# A user still running something cannot be removed: end it first. Users left
# by an earlier run that was killed go the same way before this one starts.
drop_users() {
  for u in "${users[@]}"; do
    pkill -KILL -u "$u" >/dev/null 2>&1 || true
    userdel -r "$u" >/dev/null 2>&1 || true
  done
}
cleanup() {
  dpkg -r bramasolovanti >/dev/null 2>&1 || true
  drop_users
}
trap cleanup EXIT
drop_users

for u in "${users[@]}"; do
  useradd -m "$u"
  home=$(getent passwd "$u" | cut -d: -f6)
  rm -rf "$home/.config/Bramasolovanti"
  rundir=$(mktemp -d); chown "$u" "$rundir"; chmod 700 "$rundir"
  # Started from its installed path; it keeps running until the timeout ends it.
  runuser -u "$u" -- env -i HOME="$home" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$rundir" TMPDIR="$rundir" \
    LANG=it_IT.UTF-8 xvfb-run -a timeout 10 /usr/bin/bramasolovanti || [ $? -eq 124 ]
  rm -rf "$rundir"
  # The user's own settings and calibration, copied from the shipped ones.
  cmp "$home/.config/Bramasolovanti/impostazioni.cfg" /usr/share/bramasolovanti/impostazioni.cfg
  cmp "$home/.config/Bramasolovanti/printA.cfg" /usr/share/bramasolovanti/printA.cfg
  [ "$(stat -c %U "$home/.config/Bramasolovanti/printA.cfg")" = "$u" ]
done

dpkg -r bramasolovanti >/dev/null
for p in /usr/bin/bramasolovanti /usr/share/bramasolovanti /usr/share/applications/bramasolovanti.desktop; do
  [ ! -e "$p" ] || { echo "left behind: $p"; exit 1; }
done
echo ok
