#!/usr/bin/env bash
# scripts/publish-release.sh as the release job runs it, on a folder of files
# and their SHA256SUMS, with gh over a repository of its own (fake_gh.sh) that
# already holds an older release: the first run publishes the release with
# every file; a run again after it stops, saying so, and changes nothing; a
# run after one that failed removes the draft that one left and publishes; an
# upload that fails, or a file that is not whole, leaves the release an
# unpublished draft; a folder whose files SHA256SUMS does not match (a file
# changed, missing, or one it does not name) publishes nothing.
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

files=(T7105Cfg.exe T7105Cfg.msi T7105Cfg-auto.msi)
mkdir "$work/files"
for file in "${files[@]}"; do
  printf '%s\n' "the bytes of $file" >"$work/files/$file"
done
(cd "$work/files" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)
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
# what|the tag's release before: none, published, or a draft with one file|the folder: as made, or one file changed, missing or added|gh's knobs|exit code|a line of what it printed|the repository after
while IFS='|' read -r what before folder knobs code message after; do
  rm -rf "$FAKE_GH_STATE" "$work/folder"
  cp -r "$work/files" "$work/folder"
  case $folder in
  changed*) echo "other bytes" >>"$work/folder/${folder#changed }" ;;
  missing*) rm "$work/folder/${folder#missing }" ;;
  added*) echo "a log" >"$work/folder/${folder#added }" ;;
  esac
  mkdir "$FAKE_GH_STATE"
  release v1.0.0.0 1 false T7105Cfg.msi
  case $before in
  published) release v1.1.0.1 2 false "${files[@]}" ;;
  draft) release v1.1.0.1 2 true T7105Cfg.exe ;;
  esac
  # shellcheck disable=SC2086
  env $knobs "$source_dir/scripts/publish-release.sh" owner/T7105Cfg v1.1.0.1 "T7105Cfg 1.1.0.1" \
    "$work/notes.md" "$work/folder" >"$work/printed.txt" 2>&1
  check "$what: exit code" "$code" "$?"
  check "$what: printed" "$message" "$(grep -oF "$message" "$work/printed.txt" || cat "$work/printed.txt")"
  check "$what: the releases" "$after" "$(repository)"
done <<EOF_ROWS
the first run|none|as made||0|https://github.example/releases/tag/untagged-2|$older; v1.1.0.1 published: $all
a run again after it published|published|as made||1|The release v1.1.0.1 is already published (https://github.example/releases/2); its files stay as they are, and nothing was published now.|$older; v1.1.0.1 published: $all
a run after a failed one|draft|as made||0|removed a draft of v1.1.0.1 that an earlier run left unpublished|$older; v1.1.0.1 published: $all
an upload that fails|none|as made|FAKE_GH_UPLOADS=2|1|HTTP 502: uploading T7105Cfg-auto.msi failed|$older; v1.1.0.1 draft: T7105Cfg.exe, T7105Cfg.msi
a file not whole|none|as made|FAKE_GH_PARTIAL=T7105Cfg-auto.msi|1|The draft of v1.1.0.1 does not hold the files whole, so it stays unpublished.|$older; v1.1.0.1 draft: T7105Cfg.exe, T7105Cfg.msi, T7105Cfg-auto.msi (starter), SHA256SUMS
a file changed after its checksum|none|changed T7105Cfg.msi||1|the files do not match SHA256SUMS: nothing was published|$older
a file missing|none|missing T7105Cfg-auto.msi||1|the files do not match SHA256SUMS: nothing was published|$older
a file SHA256SUMS does not name|none|added install.log||1|holds install.log, which SHA256SUMS does not name: nothing was published|$older
EOF_ROWS
checks_result
