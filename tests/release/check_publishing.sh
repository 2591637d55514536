#!/usr/bin/env bash
# scripts/publish-release.sh as the release job runs it, with gh over a
# repository of its own (fake_gh.sh) that already holds an older release: the
# first run publishes the release with every file; a run again after it stops,
# saying so, and changes nothing; a run after one that failed removes the
# draft that one left and publishes; an upload that fails, or a file that is
# not whole, leaves the release an unpublished draft.
#   check_publishing.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../wine/lib/checks.sh
source "$here/../wine/lib/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$here/fake_gh.sh" "$work/bin/gh"
export PATH="$work/bin:$PATH" FAKE_GH_STATE=$work/repository

files=(T7105Cfg.exe T7105Cfg.msi T7105Cfg-auto.msi SHA256SUMS)
mkdir "$work/files"
for file in "${files[@]}"; do
  printf '%s\n' "the bytes of $file" >"$work/files/$file"
done
echo "the notes" >"$work/notes.md"
all="T7105Cfg.exe, T7105Cfg.msi, T7105Cfg-auto.msi, SHA256SUMS"

# A release in the repository: tag, id, whether a draft, its files.
release() {
  local tag=$1 id=$2 draft=$3 file
  shift 3
  printf '%s\t%s\t%s\thttps://github.example/releases/%s\n' "$tag" "$id" "$draft" "$id" \
    >>"$FAKE_GH_STATE/releases.tsv"
  for file in "$@"; do
    printf '%s\t%s\tuploaded\n' "$file" "$(stat -c %s "$work/files/$file")" >>"$FAKE_GH_STATE/assets.$id"
  done
}

# The repository's releases, "TAG published|draft: its files" each, joined
# by "; "; a file not whole carries its upload state.
repository() {
  local tag id draft
  while IFS=$'\t' read -r tag id draft _; do
    printf '%s %s: %s\n' "$tag" "$([[ $draft == true ]] && echo draft || echo published)" \
      "$(awk -F'\t' '{ print $1 ($3 == "uploaded" ? "" : " (" $3 ")") }' \
        "$FAKE_GH_STATE/assets.$id" | paste -sd, | sed 's/,/, /g')"
  done <"$FAKE_GH_STATE/releases.tsv" | paste -sd';' | sed 's/;/; /g'
}

older="v1.0.0.0 published: T7105Cfg.msi"
# what|the tag's release before: none, published, or a draft with one file|gh's knobs|exit code|a line of what it printed|the repository after
while IFS='|' read -r what before knobs code message after; do
  rm -rf "$FAKE_GH_STATE"
  mkdir "$FAKE_GH_STATE"
  release v1.0.0.0 1 false T7105Cfg.msi
  case $before in
  published) release v1.1.0.1 2 false "${files[@]}" ;;
  draft) release v1.1.0.1 2 true T7105Cfg.exe ;;
  esac
  # shellcheck disable=SC2086
  env $knobs "$source_dir/scripts/publish-release.sh" owner/T7105Cfg v1.1.0.1 "T7105Cfg 1.1.0.1" \
    "$work/notes.md" "${files[@]/#/$work/files/}" >"$work/printed.txt" 2>&1
  check "$what: exit code" "$code" "$?"
  check "$what: printed" "$message" "$(grep -oF "$message" "$work/printed.txt" || cat "$work/printed.txt")"
  check "$what: the releases" "$after" "$(repository)"
done <<EOF_ROWS
the first run|none||0|https://github.example/releases/tag/untagged-2|$older; v1.1.0.1 published: $all
a run again after it published|published||1|The release v1.1.0.1 is already published (https://github.example/releases/2); its files stay as they are, and nothing was published now.|$older; v1.1.0.1 published: $all
a run after a failed one|draft||0|removed a draft of v1.1.0.1 that an earlier run left unpublished|$older; v1.1.0.1 published: $all
an upload that fails|none|FAKE_GH_UPLOADS=2|1|HTTP 502: uploading T7105Cfg-auto.msi failed|$older; v1.1.0.1 draft: T7105Cfg.exe, T7105Cfg.msi
a file not whole|none|FAKE_GH_PARTIAL=T7105Cfg-auto.msi|1|The draft of v1.1.0.1 does not hold the files whole, so it stays unpublished.|$older; v1.1.0.1 draft: T7105Cfg.exe, T7105Cfg.msi, T7105Cfg-auto.msi (starter), SHA256SUMS
EOF_ROWS
checks_result
