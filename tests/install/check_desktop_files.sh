#!/usr/bin/env bash
# Runs the validators of the freedesktop.org and AppStream tools over the
# desktop entry, the metainfo, the MIME definition, the icon and the manual
# pages, and checks that the shared MIME database built from our definition
# tells a session file by its first word, not by its name.
# Usage: check_desktop_files.sh RESOURCES_DIR MAN_PAGES_DIR
set -euo pipefail
here=$(dirname "$0")
source "$here/common.sh"
resources=$1 man_pages=$2
require_tools desktop-file-validate appstreamcli xmllint update-mime-database gio man
id=io.github.wandrix.Wandrix
type=application/x-wandrix-session

desktop-file-validate "$resources/$id.desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net --strict "$resources/$id.metainfo.xml" ||
  fail "appstreamcli rejects $id.metainfo.xml"
xmllint --noout "$resources/$id.xml" "$resources/$id.svg" || fail "malformed XML"
grep -q 'viewBox="0 0 128 128"' "$resources/$id.svg" || fail "the icon is not a square SVG"

# The three descriptions agree on the type, the program and the menu.
grep -qx "MimeType=$type;" "$resources/$id.desktop" || fail "the desktop entry misses $type"
grep -qx "Exec=wandrix %f" "$resources/$id.desktop" || fail "the desktop entry's Exec"
grep -qx "Categories=Education;Math;" "$resources/$id.desktop" || fail "the menu categories"
grep -q "<mediatype>$type</mediatype>" "$resources/$id.metainfo.xml" ||
  fail "the metainfo does not provide $type"

# A MIME database of the system's types and ours, as update-mime-database
# builds it on an installed machine.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/mime/packages"
cp /usr/share/mime/packages/freedesktop.org.xml "$resources/$id.xml" "$data/mime/packages/"
XDG_DATA_DIRS=$data XDG_DATA_HOME=$data update-mime-database "$data/mime" >/dev/null 2>&1 ||
  fail "update-mime-database rejects $id.xml"
grep -aq "$type" "$data/mime/magic" || fail "$type has no magic in the database"
grep -aq "$type" "$data/mime/subclasses" || fail "$type is not a kind of text"
if grep -i "wandrix" "$data/mime/globs2" >/dev/null; then
  fail "$type must not be told by a file name pattern"
fi

content_type() {
  XDG_DATA_DIRS=$data XDG_DATA_HOME=$data gio info -a standard::content-type "$1" |
    sed -n 's/^ *standard::content-type: //p'
}
printf 'WANDRIX 1.0\n2024\n400  400\n' >"$data/lecture.dat"
printf 'WANDRIX 1.0\n2024\n' >"$data/no-extension"
printf 'wandrix 1.0\n2024\n' >"$data/lower-case.dat"
printf 'time value\n1 2\n' >"$data/measurements.dat"
[[ $(content_type "$data/lecture.dat") == "$type" ]] || fail "a session .dat file is not $type"
[[ $(content_type "$data/no-extension") == "$type" ]] || fail "a session without .dat is not $type"
for other in lower-case.dat measurements.dat; do
  [[ $(content_type "$data/$other") != "$type" ]] || fail "$other is taken for a session"
done

# Manual pages: no warnings from man (groff) and the sections a reader expects.
for page in "$man_pages"/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$(basename "$page") warns: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null)
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" "SEE ALSO"; do
    grep -qx "$section" <<<"$text" || fail "$(basename "$page") has no $section section"
  done
done
echo "desktop entry, metainfo, MIME type, icon and manual pages are valid"
