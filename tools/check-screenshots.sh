#!/bin/bash
# Checks the screenshots the Windows tests leave in their output folder (every expected one
# exists, has its size and is not blank; every one there is expected) and writes one contact
# sheet of all of them.
#   check-screenshots.sh OUTPUT_FOLDER [CONTACT_SHEET]
set -u

folder=$1
sheet=${2:-$folder/contact-sheet.png}

# name  width  height: every window and state a user sees, in the order of the sheet.
expected="
main-window.png                 1000 715
main-window-chinese.png         1000 715
main-window-french.png          1000 715
main-window-hover.png           1000 715
main-window-application.png     1000 715
main-window-lt-language.png     1000 715
main-window-huge-language.png   1000 715
main-window-lang-sc.png         1000 715
main-window-lang-en.png         1000 715
main-window-lang-fre.png        1000 715
main-window-lang-kor.png        1000 715
main-window-lang-ger.png        1000 715
main-window-lang-ita.png        1000 715
main-window-lang-span.png       1000 715
main-window-lang-dutch.png      1000 715
main-window-lang-pt.png         1000 715
main-window-lang-rus.png        1000 715
main-window-lang-ukr.png        1000 715
main-window-lang-tw.png         1000 715
main-window-zh-layout-sc.png     1000 715
main-window-zh-layout-en.png     1000 715
main-window-zh-layout-fre.png    1000 715
main-window-zh-layout-kor.png    1000 715
main-window-zh-layout-ger.png    1000 715
main-window-zh-layout-ita.png    1000 715
main-window-zh-layout-span.png   1000 715
main-window-zh-layout-dutch.png  1000 715
main-window-zh-layout-pt.png     1000 715
main-window-zh-layout-rus.png    1000 715
main-window-zh-layout-ukr.png    1000 715
main-window-zh-layout-tw.png     1000 715
language-menu-program.png       116  273
language-menu.png               116  273
tray-menu.png                   93   50
tray-menu-program.png           338  94
tray-menu-program-e2e.png       234  72
picker-page-1.png               413  290
picker-page-2.png               413  290
picker-page-3.png               413  290
picker-page-4.png               413  290
picker-page-5.png               413  290
picker-advanced-chosen-path.png 413  290
picker-keys-chosen.png          413  290
picker-opened-on-current.png    413  290
picker-path-missing.png         330  160
message_box_ok.png              330  160
message_box_ok_cancel.png       330  160
message_box_ok_chinese.png      330  160
no-receiver.png                 330  160
no-receiver-chinese-system.png  330  160
swap-switcher.png               330  100
swap-switcher-hover.png         330  100
"

failures=0
files=()
while read -r name width height; do
  [ -n "$name" ] || continue
  path=$folder/$name
  if [ ! -s "$path" ]; then
    echo "FAIL: $name is missing"; failures=$((failures + 1)); continue
  fi
  # Size, number of distinct colours and spread of the grey levels in one read.
  read -r w h colours spread < <(identify -format '%w %h %k %[fx:standard_deviation]\n' "$path" 2>/dev/null)
  if [ "${w:-0}x${h:-0}" != "${width}x${height}" ]; then
    echo "FAIL: $name is ${w:-?}x${h:-?}, expected ${width}x${height}"; failures=$((failures + 1))
  fi
  # A blank capture (an unpainted or black window) has one or a handful of colours and no spread.
  if [ "${colours:-0}" -lt 16 ] || awk -v s="${spread:-0}" 'BEGIN { exit !(s < 0.02) }'; then
    echo "FAIL: $name looks blank ($colours colours, spread $spread)"; failures=$((failures + 1))
  fi
  files+=("$path")
done <<<"$expected"

# A screenshot that no line above names would be taken and never looked at. The language
# walk's pictures and sheets are language-sheet.sh's to check.
for path in "$folder"/*.png; do
  [ -e "$path" ] || continue
  name=$(basename "$path")
  { [ "$name" = contact-sheet.png ] || [ "$path" -ef "$sheet" ]; } && continue
  [[ $name =~ ^language-(sheet-[a-z]+|[a-z]+-(main|menu|picker-1|picker-5|box))[.]png$ ]] && continue
  if ! grep -qE "^$(printf '%s' "$name" | sed 's/[.]/[.]/g')[[:space:]]" <<<"$expected"; then
    echo "FAIL: $name is taken but not checked (add it to the list)"; failures=$((failures + 1))
  fi
done

if [ ${#files[@]} -gt 0 ]; then
  # Labelled with the file name, four to a row, each shown no larger than 500 px wide.
  if ! montage -label '%t' -font DejaVu-Sans -pointsize 12 -background white \
      -geometry '500x400>+10+10' -tile 4x "${files[@]}" -depth 8 "$sheet"; then
    echo "FAIL: no contact sheet"; failures=$((failures + 1))
  else
    echo "contact sheet: $sheet (${#files[@]} screenshots)"
  fi
fi
exit $((failures > 0))
