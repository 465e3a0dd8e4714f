#!/bin/sh
# Builds the Debian package of the build with cpack, checks what it holds and declares, and runs
# lintian on it: no errors.
#   check_deb.sh <build folder> <version> <1 when the build has the desktop program>
# Exit 77 (skipped) when a program it needs is missing, naming it.
set -u
build=$1
version=$2
gui=$3

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian; do
  if ! command -v $tool >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (make test installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/orvantis-deb.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack"
  exit 1
fi
deb=$(ls "$tmp"/orvantis_${version}_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { cat "$tmp/cpack.log"; echo "FAIL: no orvantis_${version}_*.deb"; exit 1; }

# What it declares: its name and version, and the libraries the program runs on.
[ "$(dpkg-deb -f "$deb" Package)" = orvantis ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
needed="libtinyxml libstdc++6 libc6"
[ "$gui" = 1 ] && needed="$needed libqt6widgets6 libqt6printsupport6 libqt6network6"
for lib in $needed; do
  case $depends in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done

# What it holds.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/contents"
wanted="/usr/bin/orvantis /usr/share/orvantis/manual/index.html
/usr/share/orvantis/examples/sample/SAMPLE.LENI1XML /usr/share/man/man1/orvantis.1.gz
/usr/share/bash-completion/completions/orvantis /usr/share/doc/orvantis/copyright
/usr/share/doc/orvantis/changelog.gz"
if [ "$gui" = 1 ]; then
  wanted="$wanted /usr/share/applications/com.tolvane.Orvantis.desktop
/usr/share/metainfo/com.tolvane.Orvantis.metainfo.xml /usr/share/mime/packages/com.tolvane.Orvantis.xml
/usr/share/icons/hicolor/scalable/apps/com.tolvane.Orvantis.svg
/usr/share/icons/hicolor/48x48/apps/com.tolvane.Orvantis.png"
fi
for path in $wanted; do
  grep -qx "$path" "$tmp/contents" || fail "the package lacks $path"
done

# lintian: errors fail the test; its warnings are shown.
lintian "$deb" >"$tmp/lintian.txt" 2>&1
cat "$tmp/lintian.txt"
grep -q "^E: " "$tmp/lintian.txt" && fail "lintian reports errors"
exit $status
