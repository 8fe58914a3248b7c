#!/bin/bash
# The installer's round trip under Wine in a fresh prefix of its own: a silent install with the
# basic language chosen on the command line, the installed files, the installed program
# starting and showing its window, and a silent uninstall that removes what was installed and
# leaves the user's settings.
#   installer_test.sh WINE_RUN ARCH INSTALLER DIST ART_DIR WORK_DIR LANGUAGE(zh|en)
set -u

wine_run=$1 arch=$2 installer=$3 dist=$4 art=$5 work=$6 language=$7
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
wine() { "$wine_run" --prefix "$prefix" --arch "$arch" "$@"; }
wineserver_bin=wineserver
[ "$arch" = win64 ] && wineserver_bin=/usr/lib/wine/wineserver64
settle() { WINEPREFIX=$prefix "$wineserver_bin" -w; }

rm -rf "$work"
mkdir -p "$work"
trap 'WINEPREFIX=$prefix "$wineserver_bin" -k 2>/dev/null; true' EXIT

install_dir=$prefix/drive_c/Program\ Files/Norvi
menu_dir=$prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Norvi

# --- install -------------------------------------------------------------------------------
wine "Z:${installer//\//\\}" /S "/LANGUAGE=$language"
rc=$?
settle
[ $rc -eq 0 ] || fail "the silent install exited with $rc"
[ -f "$install_dir/NorviDriver.exe" ] || { fail "nothing installed in $install_dir"; exit 1; }

# Every file of the layout is installed unchanged, except the language-specific pictures and
# setting, which come from the chosen language.
while IFS= read -r rel; do
  case "$rel" in
    skins/Main_Normal.bmp|skins/Main_Over.bmp|skins/Main_Down.bmp|skins/languagetype.ini) continue ;;
  esac
  cmp -s "$dist/$rel" "$install_dir/$rel" || fail "installed $rel differs from the layout or is missing"
done < <(cd "$dist" && find . -type f | sed 's|^\./||' | sort)

expected_value=0
[ "$language" = zh ] && expected_value=1
for look in Normal Over Down; do
  cmp -s "$art/skins-$language/Main_$look.bmp" "$install_dir/skins/Main_$look.bmp" ||
    fail "skins/Main_$look.bmp is not the $language picture"
done
ini=$(tr -d '\r\000' <"$install_dir/skins/languagetype.ini" 2>/dev/null)
grep -qx '\[languagetype\]' <<<"$ini" && grep -qx "value=$expected_value" <<<"$ini" ||
  fail "languagetype.ini does not select $language: $ini"
[ -f "$install_dir/Uninstall.exe" ] || fail "no uninstaller"
[ -f "$menu_dir/Norvi Mouse.lnk" ] || fail "no Start-menu entry"
grep -q 'Uninstall\\\\Norvi\]' "$prefix/system.reg" || fail "no uninstall entry in the registry"

# The settings folder exists for the program to save into.
temp_windows=$(wine cmd /c echo %TEMP% | tr -d '\r')
temp_unix=$prefix/drive_c/${temp_windows#C:\\}
temp_unix=${temp_unix//\\//}
config=$temp_unix/Zarqo/Norvi
[ -d "$config" ] || fail "the installer did not create the settings folder $config"

# --- the installed program starts ----------------------------------------------------------
NORVI_SIMULATED_RECEIVER=1 wine 'C:\Program Files\Norvi\NorviDriver.exe' &
program=$!
window=""
for _ in $(seq 1 120); do
  window=$(xdotool search --name '^Zarqo Norvi Mouse Driver$' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  kill -0 $program 2>/dev/null || break
  sleep 0.5
done
[ -n "$window" ] || fail "the installed program showed no main window"
wine taskkill /IM NorviDriver.exe >/dev/null 2>&1
for _ in $(seq 1 40); do kill -0 $program 2>/dev/null || break; sleep 0.5; done
kill -0 $program 2>/dev/null && wine taskkill /F /IM NorviDriver.exe >/dev/null 2>&1
wait $program 2>/dev/null
settle

# The user's settings, whatever the program left, must survive the uninstall byte for byte.
[ -f "$config/Profile.cfg" ] || printf 'user profile' >"$config/Profile.cfg"
[ -f "$config/Language.cfg" ] || printf '\002\000\000\000' >"$config/Language.cfg"
before=$(cd "$config" && md5sum Profile.cfg Language.cfg)
# A file of the user's own in the program folder stays, and with it the folder.
printf 'mine' >"$install_dir/skins/notes.txt"

# --- uninstall -----------------------------------------------------------------------------
wine 'C:\Program Files\Norvi\Uninstall.exe' /S
settle
left=$(cd "$install_dir" 2>/dev/null && find . -type f | sort | tr '\n' ' ')
[ "$left" = "./skins/notes.txt " ] || fail "after uninstall the program folder holds: $left"
[ -e "$menu_dir" ] && fail "the Start-menu folder stays"
grep -q 'Uninstall\\\\Norvi\]' "$prefix/system.reg" && fail "the uninstall entry stays in the registry"
after=$(cd "$config" && md5sum Profile.cfg Language.cfg 2>&1)
[ "$before" = "$after" ] || fail "the user's settings changed: $after"

[ $failures -eq 0 ] && echo "installer round trip passed ($language)"
exit $((failures > 0))
