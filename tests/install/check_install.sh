#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that every file lands
# where a Linux desktop looks for it, and that the installed programs run.
# Usage: check_install.sh CMAKE BUILD_DIR DESKTOP(0|1) VERSION
set -euo pipefail
here=$(dirname "$0")
source "$here/common.sh"
cmake=$1 build=$2 desktop=$3 version=$4
require_tools gzip man desktop-file-validate appstreamcli

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

id=io.github.wandrix.Wandrix
expected="bin/wandrix-cli
share/doc/wandrix/copyright
share/man/man1/wandrix-cli.1.gz"
# The lessons, as shipped, beside the help page.
lessons=$here/../../resources/lessons
for file in "$lessons"/*; do
  expected+="
share/wandrix/lessons/${file##*/}"
done
if [[ $desktop == 1 ]]; then
  expected+="
bin/wandrix
share/applications/$id.desktop
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/wandrix.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/$id.xml
share/wandrix/Wandrix.html"
fi
expect_exactly "$(list_files "$prefix")" "$(echo "$expected" | LC_ALL=C sort)"

# The programs run from their installed place and know their version.
for program in wandrix-cli $([[ $desktop == 1 ]] && echo wandrix); do
  [[ -x $prefix/bin/$program ]] || fail "$program is not executable"
  out=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" --version)
  [[ $out == "$program $version" ]] || fail "$program --version printed '$out'"
  QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" --help | grep -q "^Usage: $program " ||
    fail "$program --help shows no usage"
  page=$prefix/share/man/man1/$program.1.gz
  gzip -t "$page" || fail "$page is not gzip data"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man $program warns: $warnings"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$page" 2>/dev/null | grep -q "Wandrix $version" ||
    fail "the manual page of $program does not name version $version"
done

# The installed wandrix-cli finds every lesson beside the installed help page.
for file in "$lessons"/*.json; do
  name=${file##*/}
  "$prefix/bin/wandrix-cli" lesson "${name%.json}" summary >/dev/null ||
    fail "the installed wandrix-cli cannot open the lesson ${name%.json}"
done

# Every action wandrix-cli offers is described in its manual page.
cli_page=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -E UTF-8 -l "$prefix/share/man/man1/wandrix-cli.1.gz")
actions=$("$prefix/bin/wandrix-cli" --help | sed -n '/^Actions:/,/^$/s/^  \([a-z]*\).*/\1/p')
[[ -n $actions ]] || fail "wandrix-cli --help lists no actions"
for action in $actions; do
  grep -Eq "^ {7}([a-z]+, )*$action( |,|$)" <<<"$cli_page" ||
    fail "the manual page of wandrix-cli does not describe the action $action"
done

if [[ $desktop == 1 ]]; then
  # The installed copies are the validated ones, and they point at each other.
  desktop-file-validate "$prefix/share/applications/$id.desktop" ||
    fail "installed desktop entry is invalid"
  appstreamcli validate --no-net --strict "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "installed metainfo is invalid"
  grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" ||
    fail "the desktop entry does not name the installed icon $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo does not launch $id.desktop"
  grep -qi "<html" "$prefix/share/wandrix/Wandrix.html" ||
    fail "the installed help page is not HTML"
fi
echo "install layout: $(list_files "$prefix" | wc -l) files where they belong"
