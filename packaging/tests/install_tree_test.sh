#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR puts the program, its desktop entry, icons and
# metainfo in their standard places, and nothing else.
# Arguments: BUILD_DIR SCRATCH_DIR SETTINGS_BINARY APP_ID ICON_SIZES
set -euo pipefail
build=$1 scratch=$2 settings=$3 id=$4 sizes=$5
source "$(dirname "$0")/common.sh"
require_built "$settings"

rm -rf "$scratch"
mkdir -p "$scratch"
for prefix in /usr /opt/nb-quadport; do
  root="$scratch/root${prefix//\//_}"
  log="$scratch/install${prefix//\//_}.log"
  DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >"$log" 2>&1 || {
    cat "$log"
    fail "cmake --install --prefix $prefix failed (are the icons built? target setup_icons)"
  }
  check_tree "$root" "$prefix" "$id" "$sizes"
  echo "install under $prefix: ok"
done
