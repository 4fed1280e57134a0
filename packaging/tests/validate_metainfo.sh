#!/usr/bin/env bash
# The AppStream metainfo validates offline and lists a release of the project's version, so a
# version bump without a release entry is caught.
set -euo pipefail
metainfo=$1
version=$2
appstreamcli validate --no-net "$metainfo"
if ! grep -q "<release version=\"$version\"" "$metainfo"; then
  echo "FAIL: $metainfo has no release entry for version $version" >&2
  exit 1
fi
echo "metainfo valid, release $version listed"
