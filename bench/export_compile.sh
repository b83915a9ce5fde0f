#!/usr/bin/env bash
# Times pixmorph-cli export (every frame and only unique frames) and compile for the largest
# demo sprites and for a generated 256 x 256 sprite of 400 frames.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$PWD/build/bin/pixmorph-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/samples/orb.grp build/samples/planet.grp "$work"/
bench/make_large_sprite.py "$work/large.grp" 400
cd "$work"
for sprite in orb planet large; do
  "$cli" info "$sprite.grp" | sed -n 2,4p | paste -sd ' ' | sed "s/^/$sprite.grp: /"
  hyperfine --warmup 1 --runs 5 --style basic \
    -n "export all $sprite" "$cli export $sprite.grp" \
    -n "export unique $sprite" "$cli export --unique $sprite.grp" \
    -n "compile $sprite" "$cli compile $sprite.qbl"
done
