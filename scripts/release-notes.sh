#!/usr/bin/env bash
# The notes of the release that a tag asks for: checks that the tag is v and
# the version the package carries (T7105_PRODUCT_VERSION in CMakeLists.txt),
# and prints that version's entry in CHANGELOG.md, without its heading. Fails
# with the reason, printing no notes, when the tag names another version or
# when the changelog has no entry for it: no entry, no release.
#
#   scripts/release-notes.sh TAG      e.g. scripts/release-notes.sh v1.1.0.1
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tag=${1:?usage: release-notes.sh TAG}

version=$(sed -n 's/^set(T7105_PRODUCT_VERSION \([0-9.]*\))$/\1/p' "$root/CMakeLists.txt")
[[ -n $version ]] || { echo "CMakeLists.txt sets no T7105_PRODUCT_VERSION" >&2; exit 1; }
[[ $tag == "v$version" ]] ||
  { echo "tag $tag is not v$version, the version the package carries" >&2; exit 1; }

# The lines between the heading "## [VERSION]" (a date may follow it) and the
# next heading of that level, without the blank lines at either end.
notes=$(awk -v heading="## [$version]" '
  $0 == heading || index($0, heading " ") == 1 { inside = 1; next }
  inside && /^## / { exit }
  inside && (started || NF) { started = 1; print }' "$root/CHANGELOG.md")
[[ -n $notes ]] || { echo "CHANGELOG.md has no entry for $version" >&2; exit 1; }
printf '%s\n' "$notes"
