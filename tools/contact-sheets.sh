#!/usr/bin/env bash
# One contact sheet per language: the five lesson steps and the about box, each rendered
# by the program's --snapshot (seed 42), laid out on one picture by ImageMagick's montage.
# Usage: tools/contact-sheets.sh [OUTDIR [LANGUAGE...]]
#   OUTDIR defaults to build/default/contact-sheets; LANGUAGE is "en" or a code xx of
#   app/swivel.xx.itl (all of them by default). Writes OUTDIR/swivel-LANGUAGE.png.
set -euo pipefail
cd "$(dirname "$0")/.."

swivel=build/default/app/swivel
if ! command -v montage >/dev/null; then
  echo "contact-sheets: needs ImageMagick's montage (apt-get install imagemagick)" >&2
  exit 69
fi
if [ ! -x "$swivel" ]; then
  echo "contact-sheets: build the program first (cmake --build --preset default --target swivel)" >&2
  exit 69
fi

out=${1:-build/default/contact-sheets}
languages=("${@:2}")
if [ ${#languages[@]} -eq 0 ]; then
  languages=(en)
  for file in app/swivel.*.itl; do
    code=${file#app/swivel.}
    languages+=("${code%.itl}")
  done
fi

mkdir -p "$out"
pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
for language in "${languages[@]}"; do
  options=(--seed 42)
  [ "$language" = en ] || options+=(--language "$language")
  frames=()
  for step in 1 2 3 4 5; do
    "$swivel" "${options[@]}" --step "$step" --snapshot "$pictures/$language-$step.png"
    frames+=(-label "step $step" "$pictures/$language-$step.png")
  done
  "$swivel" "${options[@]}" --about --snapshot "$pictures/$language-about.png"
  frames+=(-label "about box" "$pictures/$language-about.png")
  montage "${frames[@]}" -tile 3x2 -geometry +8+8 -pointsize 16 -title "swivel --language $language" \
    "$out/swivel-$language.png"
  echo "$out/swivel-$language.png"
done
