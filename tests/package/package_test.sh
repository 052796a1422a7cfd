#!/usr/bin/env bash
# Makes the Debian package from this build tree, unpacks it into a scratch
# root and runs both programs from there: what a shop installs starts.
set -euo pipefail
trap 'echo "package test failed at line $LINENO: $BASH_COMMAND" >&2' ERR
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/zantor_*_amd64.deb)
version=$(dpkg-deb -f "$deb" Version)
echo "package: $(basename "$deb"), version $version"
[ "$(basename "$deb")" = "zantor_${version}_amd64.deb" ]

depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for lib in libqt6widgets6 libqscintilla2-qt6 libstdc++6; do
  grep -q "$lib" <<<"$depends" || { echo "Depends lacks $lib"; exit 1; }
done

dpkg-deb -x "$deb" "$work/root"
for f in usr/bin/zantor usr/bin/zantor-cli usr/share/applications/zantor.desktop \
         usr/share/metainfo/org.zantor.Zantor.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/zantor.svg \
         usr/share/icons/hicolor/48x48/apps/zantor.png \
         usr/share/bash-completion/completions/zantor-cli usr/share/man/man1/zantor-cli.1 \
         usr/share/zantor/examples/O1001.TAP \
         usr/share/zantor/help/contents.html usr/share/zantor/help/113.html; do
  [ -e "$work/root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
grep -q "version=\"$version\"" "$work/root/usr/share/metainfo/org.zantor.Zantor.metainfo.xml"

help=$("$work/root/usr/bin/zantor-cli" --help)  # whole, before grep can close the pipe
grep -q "zantor-cli" <<<"$help"
[ "$("$work/root/usr/bin/zantor-cli" --version)" = "zantor-cli $version" ]
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/zantor" --version)" = "zantor $version" ]
echo "installed programs run"
