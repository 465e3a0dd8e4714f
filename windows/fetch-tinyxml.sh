#!/bin/sh
# Unpacks TinyXML's Debian source package (with Debian's patches) into $1, for the Windows build.
# The machine's own Debian sources are used as source lists for this one download, in a private
# apt state folder, so the machine's apt set-up is left as it was.
set -eu
dest=$1
[ -f "$dest/tinyxml.cpp" ] && exit 0
work=$(mktemp -d "${TMPDIR:-/tmp}/orvantis-tinyxml.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/parts" "$work/src"
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  grep -q 'debian' "$f" || continue
  sed 's/^Types:.*/Types: deb-src/' "$f" > "$work/parts/$(basename "$f")"
done
if [ -f /etc/apt/sources.list ]; then
  grep -E '^deb .*debian' /etc/apt/sources.list | sed 's/^deb /deb-src /' > "$work/sources.list" || true
fi
touch "$work/sources.list"
opts="-o APT::Sandbox::User=root -o Dir::State::Lists=$work/lists -o Dir::Etc::SourceList=$work/sources.list -o Dir::Etc::SourceParts=$work/parts"
# shellcheck disable=SC2086
apt-get $opts -qq update
# shellcheck disable=SC2086
(cd "$work/src" && apt-get $opts -qq source --download-only tinyxml 2>/dev/null)
(cd "$work/src" && dpkg-source -q -x tinyxml_*.dsc tinyxml)
mkdir -p "$dest"
cp "$work/src/tinyxml/"*.cpp "$work/src/tinyxml/"*.h "$dest/"
echo "TinyXML source from Debian: $(cd "$work/src" && ls tinyxml_*.dsc)"
