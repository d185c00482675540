#!/usr/bin/env bash
# Makes the Debian package from a build folder into a temporary folder and checks what apt would
# get from it: its name, version and architecture, exactly the files a desktop needs under /usr,
# owned by root, dependencies on the Qt 6 and OpenGL libraries the program links against, and
# not one error or warning from lintian.
# Arguments: the build folder, the project's version.
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$out/cpack.log")"
deb="$out/ambla-viewer_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb"), only: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == ambla-viewer ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
for name in Maintainer Section Description; do
    [[ -n $(field "$name") ]] || fail "no $name"
done

# Every package the program's libraries come from, by its whole name (not as part of a longer one
# such as libqt6widgets6-dev), alone or as one of alternatives.
depends=$(field Depends)
names=$(tr ',|' '\n' <<<"$depends" | sed 's/(.*//; s/ //g')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6openglwidgets6 libqt6charts6 \
    libegl1 libopengl0 libjpeg62-turbo libstdc++6 libc6; do
    grep -qxF "$package" <<<"$names" || fail "Depends does not name $package: $depends"
done

# The files, and nothing else: no test programs, tools or headers, and nothing outside /usr.
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 ~ /^-/ { print $6 }' <<<"$listing" | sort)
expected=$(sort <<'EOF'
./usr/bin/ambla-viewer
./usr/share/applications/ambla-viewer.desktop
./usr/share/mime/packages/ambla-viewer.xml
./usr/share/icons/hicolor/scalable/apps/ambla-viewer.svg
./usr/share/icons/hicolor/48x48/apps/ambla-viewer.png
./usr/share/icons/hicolor/256x256/apps/ambla-viewer.png
./usr/share/man/man1/ambla-viewer.1.gz
./usr/share/doc/ambla-viewer/copyright
./usr/share/doc/ambla-viewer/changelog.gz
EOF
)
[[ "$files" == "$expected" ]] ||
    fail "the package holds:"$'\n'"$files"$'\n'"instead of:"$'\n'"$expected"
others=$(awk '$1 !~ /^[-d]/ || $2 != "root/root"' <<<"$listing")
[[ -z "$others" ]] || fail "links, or entries not owned by root:"$'\n'"$others"
grep -Eq '^-rwxr-xr-x .* \./usr/bin/ambla-viewer$' <<<"$listing" ||
    fail "the program is not executable: $(grep bin/ambla-viewer <<<"$listing")"

# Debian's policy as lintian checks it: no error and no warning. Its hints of lower rank (such as
# hardening flags the build could add) do not count.
report=$(lintian --fail-on error,warning "$deb" 2>/dev/null) || fail "lintian:"$'\n'"$report"
echo "packaged and checked: $(basename "$deb"), depends on $depends"
