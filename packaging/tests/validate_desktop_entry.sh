#!/usr/bin/env bash
# The desktop entry passes desktop-file-validate with no error and no warning.
set -euo pipefail
entry=$1
out=$(desktop-file-validate "$entry" 2>&1) || {
  echo "$out"
  exit 1
}
if grep -Eq 'error|warning' <<<"$out"; then
  echo "$out"
  exit 1
fi
[ -n "$out" ] && echo "$out"
echo "desktop entry valid: $entry"
