# shellcheck shell=bash
# Checks shared by the install and package tests; sourced, not run.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The program must be built before it can be installed or packaged.
require_built() {
  [ -x "$1" ] || fail "$1 is not built; build the Settings target first"
}

# check_tree ROOT PREFIX APP_ID SIZES
# ROOT holds exactly the application's files under PREFIX: the program, the desktop entry, the
# metainfo, the scalable icon and one PNG per size (SIZES comma separated, may be empty), and
# the files agree with each other.
check_tree() {
  local root=$1 prefix=$2 id=$3 sizes=$4
  local p=${prefix#/}
  local expected=(
    "$p/bin/Settings"
    "$p/share/applications/$id.desktop"
    "$p/share/metainfo/$id.metainfo.xml"
    "$p/share/icons/hicolor/scalable/apps/$id.svg"
  )
  local size
  for size in ${sizes//,/ }; do
    expected+=("$p/share/icons/hicolor/${size}x${size}/apps/$id.png")
  done

  local want have
  want=$(printf '%s\n' "${expected[@]}" | sort)
  have=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
  if [ "$want" != "$have" ]; then
    echo "expected files:" >&2
    echo "$want" >&2
    echo "found files:" >&2
    echo "$have" >&2
    fail "the installed files are not the expected set"
  fi

  local bin="$root/$p/bin/Settings"
  [ -x "$bin" ] || fail "$bin is not executable"
  local kind
  kind=$(file -b "$bin")
  [[ $kind == "ELF "*" executable"* ]] || fail "$bin is not an ELF program: $kind"

  for size in ${sizes//,/ }; do
    local png="$root/$p/share/icons/hicolor/${size}x${size}/apps/$id.png"
    kind=$(file -b "$png")
    [[ $kind == "PNG image data, $size x $size, 8-bit/color RGBA"* ]] ||
      fail "$png should be a ${size}x${size} PNG with alpha, is: $kind"
  done

  # The launcher must name the installed program and icon, and the metainfo the launcher.
  local desktop="$root/$p/share/applications/$id.desktop"
  local exec icon
  exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -x "$root/$p/bin/$exec" ] || fail "Exec=$exec in the desktop entry is not an installed program"
  [ "$icon" = "$id" ] || fail "Icon=$icon in the desktop entry is not the installed icon $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$root/$p/share/metainfo/$id.metainfo.xml" ||
    fail "the metainfo does not launch $id.desktop"

  if [ "$prefix" = /usr ]; then
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree failed on $root"
  fi
}
