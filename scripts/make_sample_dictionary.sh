#!/usr/bin/env bash
# Builds samples/ru_full_forms.txt: Debian's Russian hunspell dictionary expanded to every
# word form, in Windows-1251 with CR LF line ends, as the program imports it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$here/samples/ru_full_forms.txt"
[ -s "$out" ] && exit 0
mkdir -p "$here/samples"
unmunch /usr/share/hunspell/ru_RU.dic /usr/share/hunspell/ru_RU.aff 2>/dev/null \
  | iconv -f UTF-8 -t WINDOWS-1251 | sed 's/$/\r/' > "$out.tmp"
mv "$out.tmp" "$out"
echo "sample dictionary: $out ($(wc -l < "$out") words)"
