#!/usr/bin/env bash
# Publishes a tag's GitHub release with its files, whole or not at all, with
# gh (GH_TOKEN in the environment). The release is made as a draft, which
# only the repository's writers see, with every file; it is published once
# the draft is seen to hold exactly those files, each whole. A run that fails
# on the way leaves at most a draft, never a release with some of the files.
# A run again after one that published leaves the published release as it is
# and stops, saying so, without publishing anything: its files may already
# have been downloaded and checked against their SHA256SUMS. A draft of the
# tag that a failed run left is removed first.
#
#   scripts/publish-release.sh REPOSITORY TAG TITLE NOTES_FILE FILE...
#     e.g. scripts/publish-release.sh owner/T7105Cfg v1.1.0.1 "T7105Cfg 1.1.0.1" notes.md \
#            T7105Cfg.exe T7105Cfg.msi T7105Cfg-auto.msi SHA256SUMS
set -euo pipefail
(($# >= 5)) || { sed -n '12,14p' "$0" >&2; exit 2; }
repo=$1 tag=$2 title=$3 notes=$4
shift 4

# The repository's releases of the tag, drafts too, one a line: id, whether
# a draft, address. A draft is not found by its tag's own address.
releases_of_tag() {
  gh api --paginate "repos/$repo/releases" --jq '.[] | [.tag_name, .id, .draft, .html_url] | @tsv' |
    awk -F'\t' -v tag="$tag" '$1 == tag { print $2 "\t" $3 "\t" $4 }'
}

# The files a release holds, one a line: name, size in bytes, upload state.
assets_of() {
  gh api "repos/$repo/releases/$1" --jq '.assets[] | [.name, .size, .state] | @tsv' | sort
}

existing=$(releases_of_tag)
while IFS=$'\t' read -r id draft address; do
  [[ -n $id && $draft == false ]] || continue
  echo "The release $tag is already published ($address); its files stay as they are," \
    "and nothing was published now. To publish it anew, delete it first" \
    "(gh release delete $tag --repo $repo; the tag stays), then run this again." >&2
  exit 1
done <<<"$existing"
while IFS=$'\t' read -r id draft address; do
  [[ -n $id ]] || continue
  gh api -X DELETE "repos/$repo/releases/$id" >/dev/null
  echo "removed a draft of $tag that an earlier run left unpublished"
done <<<"$existing"

gh release create "$tag" --repo "$repo" --draft --verify-tag --title "$title" \
  --notes-file "$notes" "$@" >/dev/null
id=$(releases_of_tag | awk -F'\t' '$2 == "true" { print $1 }')
[[ $id =~ ^[0-9]+$ ]] ||
  { echo "no single draft of $tag after gh release create: '$id'" >&2; exit 1; }
expected=$(for file in "$@"; do
  printf '%s\t%s\tuploaded\n' "$(basename "$file")" "$(stat -c %s "$file")"
done | sort)
actual=$(assets_of "$id")
if [[ $actual != "$expected" ]]; then
  echo "The draft of $tag does not hold the files whole, so it stays unpublished." >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
gh api -X PATCH "repos/$repo/releases/$id" -F draft=false --jq .html_url
