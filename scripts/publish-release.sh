#!/usr/bin/env bash
# Publishes a tag's GitHub release with the files of a folder, whole or not at
# all, with gh (GH_TOKEN in the environment). The files are those the
# folder's SHA256SUMS names, in its order, and SHA256SUMS itself: before
# anything is made, each must match its checksum and the folder may hold no
# other file, so that the checksums published are those of the files
# published. The release is made as a draft, which only the repository's
# writers see, with every file; it is published once the draft is seen to
# hold exactly those files, each whole. A run that fails on the way leaves at
# most a draft, never a release with some of the files. A run again after one
# that published leaves the published release as it is and stops, saying so,
# without publishing anything: its files may already have been downloaded and
# checked against their SHA256SUMS. A draft of the tag that a failed run left
# is removed first.
#
#   scripts/publish-release.sh REPOSITORY TAG TITLE NOTES_FILE FOLDER
#     e.g. scripts/publish-release.sh owner/T7105Cfg v1.1.0.1 "T7105Cfg 1.1.0.1" notes.md \
#            build/windows/shipping
set -euo pipefail
(($# == 5)) || { sed -n '16,18p' "$0" >&2; exit 2; }
repo=$1 tag=$2 title=$3 notes=$4 folder=$5

# The files, checked against SHA256SUMS: the names it gives (sha256sum's text
# format, a plain name a line), each once, and nothing else in the folder.
[[ -f $folder/SHA256SUMS ]] || { echo "$folder holds no SHA256SUMS: nothing was published" >&2; exit 1; }
names=()
while read -r sum name; do
  [[ $sum =~ ^[0-9a-f]{64}$ && $name =~ ^[A-Za-z0-9][A-Za-z0-9._-]*$ && $name != SHA256SUMS &&
    " ${names[*]} " != *" $name "* ]] ||
    { echo "$folder/SHA256SUMS: not a checksum of a file named once: '$sum $name'" >&2; exit 1; }
  names+=("$name")
done <"$folder/SHA256SUMS"
((${#names[@]})) || { echo "$folder/SHA256SUMS names no file: nothing was published" >&2; exit 1; }
for path in "$folder"/* "$folder"/.[!.]*; do
  [[ -e $path ]] || continue
  name=${path##*/}
  [[ $name == SHA256SUMS || " ${names[*]} " == *" $name "* ]] ||
    { echo "$folder holds $name, which SHA256SUMS does not name: nothing was published" >&2; exit 1; }
done
(cd "$folder" && sha256sum --check --strict --quiet SHA256SUMS >&2) ||
  { echo "$folder: the files do not match SHA256SUMS: nothing was published" >&2; exit 1; }
files=("${names[@]/#/$folder/}" "$folder/SHA256SUMS")

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
  --notes-file "$notes" "${files[@]}" >/dev/null
id=$(releases_of_tag | awk -F'\t' '$2 == "true" { print $1 }')
[[ $id =~ ^[0-9]+$ ]] ||
  { echo "no single draft of $tag after gh release create: '$id'" >&2; exit 1; }
expected=$(for file in "${files[@]}"; do
  printf '%s\t%s\tuploaded\n' "$(basename "$file")" "$(stat -c %s "$file")"
done | sort)
actual=$(assets_of "$id")
if [[ $actual != "$expected" ]]; then
  echo "The draft of $tag does not hold the files whole, so it stays unpublished." >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
gh api -X PATCH "repos/$repo/releases/$id" -F draft=false --jq .html_url
