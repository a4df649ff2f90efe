#!/usr/bin/env bash
# The Windows Installer package under Wine, in a prefix of its own: installed
# silently, it puts the programs, the guide, the shortcut, the ZRM type, the
# entry under installed apps (its help link to the guide, its size) and the
# PATH entry in place, and a model opens in the window
# through the type; a higher version replaces it, a rebuild of the same
# version too, a lower one is refused; removed, it leaves nothing of its own
# and the user's model as it was.
# Usage: installer_test.sh WINDOWS_BUILD_DIR WINDOW_STATUS_EXE GUIDE_LANGUAGE...
set -euo pipefail
build=$(realpath "$1")
status_exe=$2
shift 2
guide_languages=("$@")
here=$(dirname "$0")
fail() { echo "FAIL: $*" >&2; exit 1; }

export WINEPREFIX=$build/installer-prefix WINEDEBUG=-all
rm -rf "$WINEPREFIX"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
packages=$build/installer-packages
rm -rf "$packages"
mkdir -p "$packages"
trap 'wineserver -k 2>/dev/null || true' EXIT

# What a Windows program says, without the carriage returns; Wine's server
# would hold a pipe open, so its output goes through a file.
run() {
    "$wine" "$@" >"$packages/said.txt" 2>&1 </dev/null && status=0 || status=$?
    tr -d '\r' <"$packages/said.txt"
    return $status
}
# A value as `reg query` shows it: "    NAME    REG_TYPE    DATA".
reg_value() { run reg query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
reg_default() { run reg query "$1" 2>/dev/null | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'; }
key_exists() { run reg query "$1" >/dev/null 2>&1; }
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
product_code() { msiinfo export "$1" Property | tr -d '\r' | awk '$1 == "ProductCode" { print $2 }'; }

"$here/../../packaging/windows/build-msi" "$build" 1.0.0.1 "$packages/first.msi"
"$here/../../packaging/windows/build-msi" "$build" 1.0.1.0 "$packages/higher.msi"
"$here/../../packaging/windows/build-msi" "$build" 1.0.1.0 "$packages/rebuilt.msi"
run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null

uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
folder="$WINEPREFIX/drive_c/Program Files/morvane"
shortcuts=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/morvane.lnk"
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/morvane.lnk")

run msiexec /i "$(windows_path "$packages/first.msi")" /qn || fail "the install failed"
for file in morvane.exe morvane-cli.exe README.md LICENSE; do
    [ -f "$folder/$file" ] || fail "$file was not installed"
done
cmp -s "$folder/morvane.exe" "$build/ui/morvane.exe" || fail "morvane.exe is not the one built"
[ ${#guide_languages[@]} -gt 0 ] || fail "no guide languages given"
for language in "${guide_languages[@]}"; do
    page=$folder/guide/$language.html
    cmp -s "$page" "$build/ui/guide/$language.html" || fail "guide\\$language.html was not installed"
    # A page's link to the licence is relative to where the page is installed.
    links=$(grep -o 'href="[^"#][^"]*"' "$page" | sed 's/^href="//; s/"$//')
    [ -n "$links" ] || fail "guide\\$language.html links to no licence"
    for link in $links; do
        [ -f "$folder/guide/$link" ] || fail "guide\\$language.html links to $link, which is not installed"
    done
done
# Wine puts a per-machine shortcut in the user's Start menu; Windows in the common one.
[ -f "${shortcuts[0]}" ] || [ -f "${shortcuts[1]}" ] || fail "no Start-menu shortcut"
[ "$(reg_default 'HKCR\.zrm')" = morvane.zrm ] || fail "no .zrm type"
[ "$(reg_value 'HKCR\.zrm' 'Content Type')" = model/x-zrm ] || fail "no content type"
[ "$(reg_default 'HKCR\morvane.zrm\shell\open\command')" = \
    '"C:\Program Files\morvane\morvane.exe" "%1"' ] || fail "no Open command"
[ "$(reg_default 'HKCR\morvane.zrm\DefaultIcon')" = '"C:\Program Files\morvane\morvane.exe",0' ] ||
    fail "no icon for the type"
entry="$uninstall\\$(product_code "$packages/first.msi")"
[ "$(reg_value "$entry" DisplayName)" = morvane ] || fail "no entry under installed apps"
[ "$(reg_value "$entry" DisplayVersion)" = 1.0.0.1 ] || fail "the entry has no version"
[ "$(reg_value "$entry" Publisher)" = "the morvane authors" ] || fail "the entry has no publisher"
[ "$(reg_value "$entry" HelpLink)" = 'C:\Program Files\morvane\guide\en.html' ] ||
    fail "the entry's help link is not the guide: $(reg_value "$entry" HelpLink)"
# Installed apps shows the size of every file installed, in KiB rounded up.
kib=$(find "$folder" -type f -printf '%s\n' | awk '{ bytes += $1 } END { print int((bytes + 1023) / 1024) }')
[ "$(reg_value "$entry" EstimatedSize)" = "$(printf '0x%x' "$kib")" ] ||
    fail "the entry's size is $(reg_value "$entry" EstimatedSize), not $kib KiB"
[ "$(reg_value "$entry" InstallLocation)" = 'C:\Program Files\morvane\' ] ||
    fail "the entry has no install folder"
# The entry's icon is the product's, which Windows Installer keeps.
run reg query 'HKLM\Software\Classes\Installer\Products' /s |
    grep -q -F "$(product_code "$packages/first.msi")\morvane.ico" || fail "the entry has no icon"
[ "$(run cmd /c morvane-cli --version)" = "morvane-cli 1.0.0.1" ] ||
    fail "morvane-cli is not on the PATH of a new console"

mkdir -p "$WINEPREFIX/drive_c/models"
printf '4MRZ\0\0\0\0\0\0\0\0' >"$WINEPREFIX/drive_c/models/ship.zrm"
run cmd /c start 'C:\models\ship.zrm' >/dev/null
[ "$(run "$status_exe")" = "ZRM chosen: 'C:\\models\\ship.zrm'" ] ||
    fail "the model did not open in the window: $(cat "$packages/said.txt")"

installed() { run reg query "$uninstall" | grep -c -F -e "$(product_code "$packages/first.msi")" \
    -e "$(product_code "$packages/higher.msi")" -e "$(product_code "$packages/rebuilt.msi")" || true; }
run msiexec /i "$(windows_path "$packages/higher.msi")" /qn || fail "the upgrade failed"
[ "$(installed)" = 1 ] && key_exists "$uninstall\\$(product_code "$packages/higher.msi")" ||
    fail "the higher version did not replace the first"
if run msiexec /i "$(windows_path "$packages/first.msi")" /qn >/dev/null; then
    fail "the lower version was installed over the higher one"
fi
run msiexec /i "$(windows_path "$packages/rebuilt.msi")" /qn || fail "the rebuild failed"
[ "$(installed)" = 1 ] && key_exists "$uninstall\\$(product_code "$packages/rebuilt.msi")" ||
    fail "the rebuild of the same version stands beside the one installed"
[ "$(reg_value "$uninstall\\$(product_code "$packages/rebuilt.msi")" DisplayVersion)" = 1.0.1.0 ] ||
    fail "the version installed is not the higher one"

run msiexec /x "$(windows_path "$packages/rebuilt.msi")" /qn || fail "the removal failed"
[ ! -e "$folder" ] || fail "files are left: $(ls "$folder")"
[ ! -e "${shortcuts[0]}" ] && [ ! -e "${shortcuts[1]}" ] || fail "the shortcut is left"
! key_exists 'HKCR\.zrm' || fail "the .zrm type is left"
! key_exists 'HKCR\morvane.zrm' || fail "the ZRM model type is left"
[ "$(installed)" = 0 ] || fail "the entry under installed apps is left"
path=$(reg_value 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' PATH)
[[ "$path" != *morvane* ]] || fail "the PATH entry is left: $path"
[ "$(head -c 4 "$WINEPREFIX/drive_c/models/ship.zrm")" = 4MRZ ] || fail "the user's model changed"
echo PASS
