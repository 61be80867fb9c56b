#!/usr/bin/env bash
# Installs into a staging folder and checks what a desktop sees of it: the
# launcher, the metainfo, a saved system recognised by its content, and the
# installed program answering on the command line.
# Arguments: the build folder.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'chmod -R u+w "$stage"; rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/usr" >/dev/null
share=$stage/usr/share

for f in ruote.vrc impostazioni.cfg printA.cfg images/vietato.jpg images/raspoprn.wmf; do
  test -f "$share/bramasolovanti/$f" || { echo "not installed: $f"; exit 1; }
done
test -f "$share/icons/hicolor/scalable/apps/bramasolovanti.svg"
test -f "$share/man/man1/bramasolovanti.1"

desktop-file-validate "$share/applications/bramasolovanti.desktop"
grep -qx 'Exec=bramasolovanti %f' "$share/applications/bramasolovanti.desktop"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml

# A saved system of each header, under names that say nothing about it.
update-mime-database "$share/mime"
export XDG_DATA_DIRS=$share:/usr/share XDG_DATA_HOME=$stage/home
for header in VorlaccoQRV001 Bramasolovanti "Il Bramasolovanti"; do
  file=$stage/sistema-$RANDOM
  { printf '%s' "$header"; head -c 240 /dev/zero; } >"$file"
  type=$(gio info -a standard::content-type "$file" | sed -n 's/.*standard::content-type: //p')
  [ "$type" = application/x-bramasolovanti ] || { echo "$header: $type"; exit 1; }
done

# The installed program, read-only, from any folder.
chmod -R a-w "$stage/usr"
# Each run within 20 s: a program that waits for nothing fails here, not at the limit.
out=$(cd / && timeout 20 "$stage/usr/bin/bramasolovanti" --version)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$out" = "Bramasolovanti $version" ] || { echo "--version: $out"; exit 1; }
# The command line answers in Italian, and a wrong one says what is wrong.
timeout 20 "$stage/usr/bin/bramasolovanti" --help | grep -q '^Uso: bramasolovanti \[opzioni\] \[sistema.vrl\]$'
if err=$(timeout 20 "$stage/usr/bin/bramasolovanti" -platform offscreen --sbagliata 2>&1 >/dev/null); then exit 1; fi
grep -qx 'Opzione sconosciuta: --sbagliata.' <<<"$err" || { echo "unknown option: $err"; exit 1; }
echo ok
