#!/usr/bin/env bash
# The committed images are the ones make_images.py draws: a drawing changed without the images
# drawn again, or an image changed by hand, fails here.
# Usage: check_images.sh PYTHON RESOURCES_DIR
set -euo pipefail
python=$1
resources=$2
drawn=$(mktemp -d)
trap 'rm -rf "$drawn"' EXIT
"$python" "$resources/make_images.py" "$drawn"
images=$(cd "$drawn" && find . -type f | sed 's|^\./||' | sort)
[ -n "$images" ] || { echo "FAIL: make_images.py drew nothing"; exit 1; }
fail=0
for image in $images; do
  cmp -s "$drawn/$image" "$resources/$image" ||
    { echo "FAIL: resources/$image is not what make_images.py draws: run it, and commit both"; fail=1; }
done
[ "$fail" = 0 ] && echo "images: $(wc -w <<<"$images") committed images as make_images.py draws them"
exit "$fail"
