#!/usr/bin/env bash
# CPack builds the Debian package; unpacked into a scratch root it holds the application's
# files under /usr, owned by root, and it depends on the Qt 6 widgets and libjpeg runtimes.
# Arguments: BUILD_DIR SCRATCH_DIR SETTINGS_BINARY APP_ID ICON_SIZES PACKAGE VERSION
set -euo pipefail
build=$1 scratch=$2 settings=$3 id=$4 sizes=$5 package=$6 version=$7
source "$(dirname "$0")/common.sh"
require_built "$settings"

rm -rf "$scratch"
mkdir -p "$scratch"
# The project's own package configuration, with the package written into the scratch folder
# rather than beside `make package`'s. With the Makefile generator CPack first brings the
# whole build up to date through its preinstall target; the test packages what is built, so it
# names a generator that has no such step. Staging, stripping and dependencies are unchanged.
cat >"$scratch/CPackConfig.cmake" <<CONFIG
include("$build/CPackConfig.cmake")
set(CPACK_CMAKE_GENERATOR Ninja)
CONFIG
cpack --config "$scratch/CPackConfig.cmake" -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1 || {
  cat "$scratch/cpack.log"
  fail "cpack failed"
}

arch=$(dpkg --print-architecture)
deb="$scratch/out/${package}_${version}_${arch}.deb"
[ -f "$deb" ] || {
  ls "$scratch/out" >&2
  fail "no ${package}_${version}_${arch}.deb"
}

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
[ -n "$(field Description)" ] || fail "no Description"

depends=$(field Depends)
echo "Depends: $depends"
# Package names alone: version constraints and arch qualifiers dropped.
bare() { sed 's/(.*)//; s/:.*//; s/[[:space:]]//g'; }
mapfile -t names < <(tr ',|' '\n' <<<"$depends" | bare | grep -v '^$' | sort -u)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo; do
  [[ " ${names[*]} " == *" $needed "* ]] || fail "Depends lacks $needed"
done
installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }
# Each dependency (one of its alternatives) is a runtime package this machine has, the one the
# program was built and tested against.
mapfile -t groups < <(tr ',' '\n' <<<"$depends")
for group in "${groups[@]}"; do
  found=
  mapfile -t alternatives < <(tr '|' '\n' <<<"$group" | bare | grep -v '^$')
  for name in "${alternatives[@]}"; do
    [[ $name == *-dev ]] && fail "Depends names a development package: $name"
    installed "$name" && found=1
  done
  [ -n "$found" ] || fail "no package of '$group' is installed here"
done

# Every entry in the archive belongs to root.
if dpkg-deb -c "$deb" | awk '{print $2}' | grep -vx 'root/root'; then
  fail "the archive has entries not owned by root/root"
fi

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check_tree "$root" /usr "$id" "$sizes"
[[ $(file -b "$root/usr/bin/Settings") == *", stripped"* ]] || fail "the packaged program is not stripped"
echo "package $(basename "$deb"): ok"
