#!/usr/bin/env bash
# gh as scripts/publish-release.sh calls it, over a repository held in the
# folder FAKE_GH_STATE: releases.tsv, a release a line (tag, id, whether a
# draft, address, as the script's --jq filter prints them), and assets.ID,
# a file of release ID a line (name, size, upload state). Each call is added
# to calls.txt there. gh release create makes a draft, uploads the files in
# turn and, without --draft, publishes it: FAKE_GH_UPLOADS=N fails it after N
# of them (the draft stays), and FAKE_GH_PARTIAL=NAME leaves that one not
# whole (GitHub's state "starter") while reporting success.
set -euo pipefail
state=${FAKE_GH_STATE:?}
echo "$*" >>"$state/calls.txt"
touch "$state/releases.tsv"

# The release ID of an endpoint repos/OWNER/NAME/releases/ID.
release_id() { echo "${1##*/}"; }

if [[ $1 == api ]]; then
  shift
  method=GET
  [[ $1 != -X ]] || { method=$2; shift 2; }
  [[ $1 != --paginate ]] || shift
  endpoint=$1 id=$(release_id "$1")
  case $method:$endpoint in
  GET:*/releases) cut -f1-4 "$state/releases.tsv" ;;
  GET:*/releases/*) cat "$state/assets.$id" ;;
  DELETE:*/releases/*)
    awk -F'\t' -v id="$id" '$2 != id' "$state/releases.tsv" >"$state/kept.tsv"
    mv "$state/kept.tsv" "$state/releases.tsv"
    rm -f "$state/assets.$id" ;;
  PATCH:*/releases/*)
    [[ $* == *"-F draft=false"* ]] || { echo "unexpected: $*" >&2; exit 1; }
    awk -F'\t' -v OFS='\t' -v id="$id" '$2 == id { $3 = "false" } 1' "$state/releases.tsv" \
      >"$state/kept.tsv"
    mv "$state/kept.tsv" "$state/releases.tsv"
    awk -F'\t' -v id="$id" '$2 == id { print $4 }' "$state/releases.tsv" ;;
  *) echo "unexpected: api $*" >&2; exit 1 ;;
  esac
elif [[ $1 == release && $2 == create ]]; then
  tag=$3
  shift 3
  id=$(($(cut -f2 "$state/releases.tsv" | sort -n | tail -n 1) + 1))
  printf '%s\t%s\ttrue\thttps://github.example/releases/tag/untagged-%s\n' "$tag" "$id" "$id" \
    >>"$state/releases.tsv"
  : >"$state/assets.$id"
  draft=no
  while (($#)); do
    case $1 in
    --repo | --title | --notes-file) shift 2 ;;
    --draft) draft=yes; shift ;;
    --verify-tag) shift ;;
    *)
      if [[ -n ${FAKE_GH_UPLOADS:-} ]] && (($(wc -l <"$state/assets.$id") == FAKE_GH_UPLOADS)); then
        echo "HTTP 502: uploading $(basename "$1") failed" >&2
        exit 1
      fi
      upload=uploaded
      [[ $(basename "$1") != "${FAKE_GH_PARTIAL:-}" ]] || upload=starter
      printf '%s\t%s\t%s\n' "$(basename "$1")" "$(stat -c %s "$1")" "$upload" >>"$state/assets.$id"
      shift ;;
    esac
  done
  [[ $draft == yes ]] || "$0" api -X PATCH "repos/owner/name/releases/$id" -F draft=false
else
  echo "unexpected: $*" >&2
  exit 1
fi
