#!/usr/bin/env bash
# Installs the build into a scratch root and checks that every file lands
# where a Debian desktop looks for it, and that the pieces name each other.
# Usage: install_layout_test.sh BUILD_DIR VERSION EXPECTED_FILES MIME_TOOL
set -euo pipefail
build=$1 version=$2 expected=$3 mime_tool=$4
app_id=io.github.morvane.Morvane

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort) >"$scratch/installed"
if ! diff -u <(sort "$expected") "$scratch/installed"; then
    fail "installed files differ from $expected"
fi

[ "$("$root/usr/bin/morvane-cli" --version)" = "morvane-cli $version" ] ||
    fail "installed morvane-cli does not report version $version"

share=$root/usr/share
desktop=$share/applications/$app_id.desktop
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Icon)" = "$app_id" ] || fail "desktop entry's Icon is not $app_id"
exec_line=$(entry Exec)
[ "$exec_line" = "morvane %f" ] || fail "desktop entry's Exec is '$exec_line'"
[ -x "$root/usr/bin/${exec_line%% *}" ] || fail "desktop entry runs a program that is not installed"
[ "$(entry MimeType)" = "model/x-zrm;" ] || fail "desktop entry does not open model/x-zrm"

metainfo=$share/metainfo/$app_id.metainfo.xml
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo's id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32 48; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$app_id.png
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width $height" = "$size $size" ] || fail "$icon is ${width}x$height"
done
grep -q '<svg' "$share/icons/hicolor/scalable/apps/$app_id.svg" || fail "scalable icon is no SVG"

# Each shell finds its own completion under the name it looks for. (grep
# reads to the end: a shell that wrote to a closed pipe would fail the test.)
bash_file=$share/bash-completion/completions/morvane-cli
zsh_file=$share/zsh/vendor-completions/_morvane-cli
fish_file=$share/fish/vendor_completions.d/morvane-cli.fish
bash --norc --noprofile -c 'source "$1" && complete -p morvane-cli' bash "$bash_file" |
    grep -- '-F _morvane_cli morvane-cli$' >/dev/null || fail "bash does not load $bash_file"
[ "$(head -n1 "$zsh_file")" = "#compdef morvane-cli" ] || fail "$zsh_file is not for morvane-cli"
zsh -f -c 'fpath=($1); autoload +X -Uz _morvane-cli && functions _morvane-cli' zsh "${zsh_file%/*}" |
    grep -- '--files-from=' >/dev/null || fail "zsh does not load $zsh_file"
fish --no-config -c 'source $argv[1] && complete -c morvane-cli' "$fish_file" |
    grep -- '-l files-from' >/dev/null || fail "fish does not load $fish_file"

# A guide page's link to the licence is relative to where the page is installed.
for page in "$share"/morvane/guide/*.html; do
    links=$(grep -o 'href="[^"#][^"]*"' "$page" | sed 's/^href="//; s/"$//')
    [ -n "$links" ] || fail "$page links to no licence"
    for link in $links; do
        [ -f "$(dirname "$page")/$link" ] || fail "$page links to $link, which is not installed"
    done
done

# The model type must be found by name and by the first four bytes alone,
# and only because the installed definition says so.
update-mime-database "$share/mime"
files=$scratch/files
mkdir "$files" "$scratch/empty"
printf 'not a model' >"$files/by-name.zrm"
printf '4MRZ\x11\x11\x11\x11\x64\x00\x00\x00' >"$files/by-content"
printf 'ZRM4\x11\x11\x11\x11\x64\x00\x00\x00' >"$files/reversed-tag"
mime_types() {
    XDG_DATA_DIRS=$1 XDG_DATA_HOME=$scratch/empty "$mime_tool" \
        "$files/by-name.zrm" "$files/by-content" "$files/reversed-tag"
}
without=$(mime_types "$scratch/empty")
case $without in *model/x-zrm*) fail "model/x-zrm is known without the installed definition" ;; esac
mapfile -t types < <(mime_types "$share")
[ ${#types[@]} -eq 3 ] || fail "expected three MIME types, got: ${types[*]}"
by_name=${types[0]%% *} by_content=${types[1]%% *} reversed=${types[2]%% *}
[ "$by_name" = model/x-zrm ] || fail "a .zrm file is $by_name"
[ "$by_content" = model/x-zrm ] || fail "a file beginning with 4MRZ is $by_content"
[ "$reversed" != model/x-zrm ] || fail "a file beginning with ZRM4 is taken for a model"
# A model file shows with an icon of its own, installed at each size.
model_icon=${types[0]#* }
[ "$model_icon" = "$app_id.model-x-zrm" ] || fail "a .zrm file shows the icon $model_icon"
for size in 16 32 48; do
    icon=$share/icons/hicolor/${size}x${size}/mimetypes/$model_icon.png
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    [ "$width $height" = "$size $size" ] || fail "$icon is ${width}x$height"
done
grep -q '<svg' "$share/icons/hicolor/scalable/mimetypes/$model_icon.svg" ||
    fail "the model file's scalable icon is no SVG"
echo "install layout: all files in place"
