#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the result as a desktop would see it:
# every file in its place, the desktop entry and the file type valid by the standard tools, the
# installed program running, and a log file recognised as our type by name and by content.
# Arguments: the build folder, the MIME probe program, a sample log file, the project's version.
set -euo pipefail
build=$1
probe=$2
sample=$3
version=$4
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
share="$dest/usr/share"
for file in "$dest/usr/bin/ambla-viewer" \
    "$share/applications/ambla-viewer.desktop" \
    "$share/mime/packages/ambla-viewer.xml" \
    "$share/icons/hicolor/scalable/apps/ambla-viewer.svg" \
    "$share/icons/hicolor/48x48/apps/ambla-viewer.png" \
    "$share/icons/hicolor/256x256/apps/ambla-viewer.png" \
    "$share/man/man1/ambla-viewer.1.gz" \
    "$share/doc/ambla-viewer/copyright" \
    "$share/doc/ambla-viewer/changelog.gz"; do
    [[ -f "$file" ]] || fail "not installed: ${file#"$dest"}"
done

# The changelog's latest entry is this version: a new version without its entry would ship the
# story of an old one.
latest=$(dpkg-parsechangelog -l "$share/doc/ambla-viewer/changelog.gz" -S Version) ||
    fail "the changelog cannot be read"
[[ "$latest" == "$version" ]] || fail "the changelog's latest entry is $latest, not $version"

# The validator's hints count too: the entry must pass without a word.
report=$(desktop-file-validate "$share/applications/ambla-viewer.desktop" 2>&1) ||
    fail "desktop-file-validate: $report"
[[ -z "$report" ]] || fail "desktop-file-validate: $report"
xmllint --noout "$share/mime/packages/ambla-viewer.xml" || fail "xmllint"
update-mime-database "$share/mime" || fail "update-mime-database"
[[ -f "$share/mime/application/x-ambla-3dl.xml" ]] || fail "the type is not in the database"

version=$("$dest/usr/bin/ambla-viewer" --version) || fail "the installed program does not run"
[[ "$version" == "ambla-viewer "* ]] || fail "--version printed: $version"

# The desktop's own view (GIO) by name, and by content alone with white space before the header
# as the reader allows; a text file that is not a log; and Qt's view by name. (Qt 6.4 sniffs
# content against the system's database first, where "<head" makes it HTML.)
files="$dest/files"
mkdir -p "$files"
cp "$sample" "$files/ship.3dl"
{ printf ' \n\t'; cat "$sample"; } >"$files/ship-without-suffix"
echo "just some notes" >"$files/notes.txt"
export XDG_DATA_HOME="$share" XDG_DATA_DIRS="$share:/usr/share"
type_of() { gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
for file in ship.3dl ship-without-suffix; do
    [[ $(type_of "$files/$file") == application/x-ambla-3dl ]] ||
        fail "$file is $(type_of "$files/$file")"
done
[[ $(type_of "$files/notes.txt") != application/x-ambla-3dl ]] || fail "notes.txt is a log"
[[ $(QT_QPA_PLATFORM=offscreen "$probe" "$files/ship.3dl") == application/x-ambla-3dl ]] ||
    fail "Qt: ship.3dl is $(QT_QPA_PLATFORM=offscreen "$probe" "$files/ship.3dl")"
echo "installed and checked: bin, desktop entry, file type, icons, manual page, copyright, changelog"
