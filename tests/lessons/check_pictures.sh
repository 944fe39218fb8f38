#!/usr/bin/env bash
# The lessons' pictures in the source tree are what scripts/lesson-pictures
# makes from this build: a lesson or a drawing change that alters one fails
# here until the pictures are made again.
#   check_pictures.sh SOURCE_DIR WANDRIX_CLI
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
WANDRIX_CLI=$2 bash "$source_dir/scripts/lesson-pictures" "$work"
status=0
for made in "$work"/*.png; do
  name=${made##*/}
  if ! cmp -s "$made" "$source_dir/resources/lessons/$name"; then
    echo "resources/lessons/$name is not what scripts/lesson-pictures makes" >&2
    status=1
  fi
done
for kept in "$source_dir"/resources/lessons/*.png; do
  [[ -f $work/${kept##*/} ]] || { echo "${kept##*/} belongs to no lesson" >&2; status=1; }
done
exit $status
