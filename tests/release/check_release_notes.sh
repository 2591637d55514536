#!/usr/bin/env bash
# scripts/release-notes.sh as the release job runs it, from a copy of the
# tree with the real CMakeLists.txt and each changelog below: the tag must be
# v and the product version, the notes are that version's entry alone, and a
# changelog without it stops the release. The repository's own CHANGELOG.md
# must hold an entry for the version it builds.
#   check_release_notes.sh SOURCE_DIR PRODUCT_VERSION
set -uo pipefail
source_dir=$1 version=$2
# shellcheck source=../wine/lib/checks.sh
source "$(dirname "$0")/../wine/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/scripts"
cp "$source_dir/scripts/release-notes.sh" "$work/scripts/"
cp "$source_dir/CMakeLists.txt" "$work/"

# The version's entry between a later one whose number begins with the same
# digits and an older one; and the same changelog without that entry.
cat >"$work/entries.md" <<EOF_CHANGELOG
# Changelog

## [Unreleased]

- not released yet

## [${version}0] - 2027-01-01

- a later version

## [$version] - 2026-12-08

- this version's first line
- and its second

## [1.0.0.0] - 2026-01-01

- an older version
EOF_CHANGELOG
sed "/^## \[$version\]/,/^- and its second/d" "$work/entries.md" >"$work/no-entry.md"

# what|tag|changelog|exit code|the notes, lines joined by " / ", or the message
while IFS='|' read -r what tag changelog code expected; do
  cp "$changelog" "$work/CHANGELOG.md"
  "$work/scripts/release-notes.sh" "$tag" >"$work/notes.txt" 2>"$work/message.txt"
  check "$what: exit code" "$code" "$?"
  if ((code == 0)); then
    check "$what: notes" "$expected" "$(awk -v ORS= 'NR > 1 { print " / " } 1' "$work/notes.txt")"
  else
    check "$what: message" "$expected" "$(cat "$work/message.txt")"
    check "$what: notes" "" "$(cat "$work/notes.txt")"
  fi
done <<EOF_ROWS
the version's entry|v$version|$work/entries.md|0|- this version's first line / - and its second
the version without v|$version|$work/entries.md|1|tag $version is not v$version, the version the package carries
a later version's tag|v${version}0|$work/entries.md|1|tag v${version}0 is not v$version, the version the package carries
no entry for the version|v$version|$work/no-entry.md|1|CHANGELOG.md has no entry for $version
EOF_ROWS

cp "$source_dir/CHANGELOG.md" "$work/CHANGELOG.md"
"$work/scripts/release-notes.sh" "v$version" >/dev/null 2>"$work/message.txt"
check "the repository's CHANGELOG.md, an entry for $version" "exit 0" "exit $?"
cat "$work/message.txt"
checks_result
