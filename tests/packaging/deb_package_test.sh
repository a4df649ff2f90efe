#!/usr/bin/env bash
# Builds the .deb the way a release does and checks its control fields and
# that it holds exactly the files the install puts down, under /usr.
# Usage: deb_package_test.sh BUILD_DIR VERSION EXPECTED_FILES COMPLETIONS_DIR
set -euo pipefail
build=$1 version=$2 expected=$3 completions=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
shopt -s nullglob
debs=("$scratch"/morvane_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one morvane_${version}_*.deb, found ${#debs[*]}"
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = morvane ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version is $(field Version)"
[ "$(field Section)" = graphics ] || fail "section is $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ -n "$(field Description)" ] || fail "no description"
depends=$(field Depends)
# libc6 and the Qt libraries come only from dpkg-shlibdeps reading the binaries.
for needed in libc6 libqt6widgets6 libqt6gui6 qt6-qpa-plugins; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

dpkg-deb --fsys-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '/$' | sort >"$scratch/packed"
if ! diff -u <(sort "$expected") "$scratch/packed"; then
    fail "package files differ from $expected"
fi
for program in morvane morvane-cli; do
    dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/bin/$program" >"$scratch/$program"
    if readelf -S "$scratch/$program" | grep -q '\.symtab'; then
        fail "$program is packed unstripped"
    fi
done
# Each shell's completion is packed as written, where that shell looks.
packed() { dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/$1"; }
for completion in bash-completion/completions/morvane-cli:morvane-cli.bash \
    zsh/vendor-completions/_morvane-cli:_morvane-cli \
    fish/vendor_completions.d/morvane-cli.fish:morvane-cli.fish; do
    packed "${completion%%:*}" | cmp -s - "$completions/${completion#*:}" ||
        fail "usr/share/${completion%%:*} is not $completions/${completion#*:}"
done
echo "deb package: $(basename "$deb") holds $(wc -l <"$scratch/packed") files"
