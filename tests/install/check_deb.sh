#!/usr/bin/env bash
# Builds the Debian package from the finished build (no rebuild) into a
# temporary folder and checks its control fields, its dependencies (computed
# from the binaries) and its contents.
# Usage: check_deb.sh CPACK BUILD_DIR DESKTOP(0|1) VERSION
set -euo pipefail
here=$(dirname "$0")
source "$here/common.sh"
cpack=$1 build=$2 desktop=$3 version=$4
require_tools dpkg-deb dpkg-shlibdeps file

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
arch=$(dpkg --print-architecture)
deb=$out/wandrix_${version}_$arch.deb
[[ -f $deb ]] || fail "no $(basename "$deb") among: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == wandrix ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Section) == science ]] || fail "Section: $(field Section)"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture: $(field Architecture)"
[[ -n $(field Maintainer) ]] || fail "no Maintainer"
description=$(field Description)
[[ $(head -n1 <<<"$description") == "Watch Markov chain Monte Carlo"* ]] || fail "Description's summary"
[[ $(wc -l <<<"$description") -gt 3 ]] || fail "no long description"
if tail -n +2 <<<"$description" | grep -v '^ ' | grep -q .; then
  fail "long description lines must start with a blank"
fi

depends=$(field Depends)
echo "Depends: $depends"
needed=(libc6 libstdc++6)
if [[ $desktop == 1 ]]; then
  needed+=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libqt6svg6)
fi
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for package in "${needed[@]}"; do
  grep -Fqx "$package" <<<"$names" || fail "Depends lacks $package"
done

# The contents: the installed files under /usr, owned by root, binaries
# stripped.
contents=$(dpkg-deb -c "$deb")
echo "$contents"
if grep -v ' root/root ' <<<"$contents" | grep -q .; then
  fail "files not owned by root"
fi
files=$(awk '$1 !~ /^d/ {print $6}' <<<"$contents" | sed 's|^\./usr/||' | LC_ALL=C sort)
dpkg-deb -x "$deb" "$out/root"
installed=$(mktemp -d)
trap 'rm -rf "$out" "$installed"' EXIT
"$(dirname "$cpack")/cmake" --install "$build" --prefix "$installed" >/dev/null
expect_exactly "$files" "$(list_files "$installed")"
for program in wandrix-cli $([[ $desktop == 1 ]] && echo wandrix); do
  file "$out/root/usr/bin/$program" | grep -q ', stripped' || fail "$program is not stripped"
done
echo "$(basename "$deb"): $(wc -l <<<"$files") files, $(du -k "$deb" | cut -f1) KiB"
