#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and checks every file that lands there: the
# exact file list, both programs, the desktop entry, the AppStream data, the album file type
# (an album made by tessary-cli is known by its content), the icon sizes, the manual pages
# and documents, and that the installed program counts as installed (its folder under
# $XDG_DATA_HOME). Usage: install_layout.sh BUILD_DIR
set -euo pipefail

build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
  echo "install_layout: $*" >&2
  exit 1
}

for tool in cmake desktop-file-validate appstreamcli xmllint update-mime-database gio file man gzip; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
id=com.orvanne.Tessary
sizes="16 22 24 32 48 64 128 256"

# -- exactly the files we mean to install
expected=(
  bin/tessary bin/tessary-cli
  share/applications/$id.desktop
  share/doc/tessary/changelog.gz share/doc/tessary/copyright
  share/man/man1/tessary-cli.1.gz share/man/man1/tessary.1.gz
  share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
)
for s in $sizes; do expected+=("share/icons/hicolor/${s}x${s}/apps/$id.png"); done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) \
  || fail "the installed files differ from the list (< expected, > installed)"

# -- programs
for p in tessary tessary-cli; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"
done
help=$("$prefix/bin/tessary-cli" --help) || fail "tessary-cli --help failed"
grep -q '^Usage: tessary-cli' <<<"$help" || fail "tessary-cli --help printed no usage"
version=$("$prefix/bin/tessary-cli" version | grep -o '[0-9][0-9.]*[0-9]' | head -n 1)
[ -n "$version" ] || fail "tessary-cli version printed no version"

# -- desktop entry
desktop=$prefix/share/applications/$id.desktop
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Exec=tessary %f' "$desktop" || fail "desktop entry: Exec is not 'tessary %f'"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry: Icon is not $id"
grep -qx 'MimeType=application/x-tessary-album;' "$desktop" || fail "desktop entry: MimeType"

# -- AppStream data: no errors or warnings (pedantic notes are fine), the program's version
metainfo=$prefix/share/metainfo/$id.metainfo.xml
out=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
if grep -Eq '^[EW]:' <<<"$out"; then fail "appstreamcli validate: $out"; fi
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" "$metainfo" \
  || fail "metainfo: no release $version with a date"

# -- album file type: the database accepts it, an album is known by name and by content
mimexml=$prefix/share/mime/packages/$id.xml
xmllint --noout "$mimexml" || fail "the mime package does not parse"
XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime" || fail "update-mime-database refused the mime package"
[ -s "$prefix/share/mime/mime.cache" ] || fail "update-mime-database wrote no cache"
grep -q 'application/x-tessary-album' "$prefix/share/mime/types" || fail "the type is not in the database"

album=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/tessary-cli" album create "$tmp/albums" Trip) \
  || fail "tessary-cli album create failed"
[ -f "$album" ] || fail "tessary-cli album create made no file ($album)"
mkdir "$tmp/sniff"
cp "$album" "$tmp/sniff/trip-without-extension"
printf '<?xml version="1.0" encoding="UTF-8" ?>\n<Other version="1.0" />\n' >"$tmp/sniff/plain-xml"
content_type() {
  # $1: data dirs, $2: file
  XDG_DATA_DIRS=$1 XDG_DATA_HOME=$tmp/empty-data GIO_USE_VFS=local \
    gio info -a standard::content-type "$2" | sed -n 's/^ *standard::content-type: //p'
}
# The system's own XML and plain-text rules in a database of their own, so that a type
# installed on this machine (a tessary package) cannot stand in for the one under test.
base=$tmp/base/share
mkdir -p "$base/mime/packages"
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">'
  xmllint --xpath '//*[local-name()="mime-type"][@type="application/xml" or @type="text/plain"]' \
    /usr/share/mime/packages/freedesktop.org.xml
  echo '</mime-info>'
} >"$base/mime/packages/standard.xml" || fail "cannot read the standard XML type"
XDG_DATA_DIRS=$base update-mime-database "$base/mime" || fail "update-mime-database failed on the standard types"
dirs="$prefix/share:$base"
[ "$(content_type "$dirs" "$album")" = application/x-tessary-album ] || fail "the album is not known by its name"
got=$(content_type "$dirs" "$tmp/sniff/trip-without-extension")
[ "$got" = application/x-tessary-album ] || fail "the album is not known by its content (got $got)"
got=$(content_type "$dirs" "$tmp/sniff/plain-xml")
[ "$got" = application/xml ] || fail "other XML is taken for an album (got $got)"
got=$(content_type "$base" "$tmp/sniff/trip-without-extension")
[ "$got" = application/xml ] || fail "without the installed type an album should read as XML (got $got)"

# -- icons at every size with the right pixel dimensions
for s in $sizes; do
  png=$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png
  desc=$(file -b "$png")
  grep -q "^PNG image data, $s x $s, 8-bit/color RGBA" <<<"$desc" || fail "icon ${s}x${s}: $desc"
done

# -- manual pages: compressed, formatted without warnings, every command of --help present
for page in tessary tessary-cli; do
  gz=$prefix/share/man/man1/$page.1.gz
  gzip -t "$gz" || fail "$page.1.gz is not a good gzip file"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$gz" 2>&1 >/dev/null) \
    || fail "$page.1: man failed"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done
clipage=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$prefix/share/man/man1/tessary-cli.1.gz" 2>/dev/null \
  | sed 's/.\x08//g')
# A usage line of --help: two blanks, the command words, its arguments, two blanks, the text.
commands=$(grep '^  [a-z]' <<<"$help" | sed 's/^  //; s/  .*//' \
  | awk '{ c = $1; if ($2 ~ /^[a-z]+$/) c = c " " $2; print c }')
[ "$(wc -l <<<"$commands")" -ge 10 ] || fail "found only these commands in --help: $commands"
while read -r command; do
  grep -Fq "$command" <<<"$clipage" || fail "tessary-cli.1 does not describe '$command'"
done <<<"$commands"

# -- documents
[ -s "$prefix/share/doc/tessary/copyright" ] || fail "no copyright file"
gzip -t "$prefix/share/doc/tessary/changelog.gz" || fail "changelog.gz is not a good gzip file"
zcat "$prefix/share/doc/tessary/changelog.gz" | head -n 1 | grep -q "^tessary ($version) " \
  || fail "the changelog's top entry is not $version"

# -- the installed program counts as installed (settings under $XDG_DATA_HOME)
"$(dirname "$0")/starts_installed.sh" "$prefix/bin" || fail "the installed tessary runs as portable"

echo "install_layout: all installed files checked"
