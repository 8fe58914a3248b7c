#!/bin/bash
# Puts the language walk's pictures of each language (main window, language menu, picker on
# its first and last page, message box) side by side: one sheet per language, beside the
# contact sheet, named language-sheet-<code>.png.
#   language-sheet.sh OUTPUT_FOLDER
set -u
folder=$1
failures=0
for code in sc en fre kor ger ita span dutch pt rus ukr tw; do
  parts=()
  for part in main menu picker-1 picker-5 box; do
    path=$folder/language-$code-$part.png
    if [ -s "$path" ]; then parts+=("$path"); else echo "FAIL: $path is missing"; failures=$((failures + 1)); fi
  done
  [ ${#parts[@]} -gt 0 ] || continue
  # The main window above, the menu, the two picker pages and the message box below it.
  if ! convert -background white -bordercolor white "${parts[0]}" -border 6 \
      \( "${parts[@]:1}" -border 6 +append \) -gravity northwest -append +repage -depth 8 \
      "$folder/language-sheet-$code.png"; then
    echo "FAIL: no sheet for $code"; failures=$((failures + 1))
  fi
done
echo "language sheets in $folder"
exit $((failures > 0))
