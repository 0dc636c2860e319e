#!/usr/bin/env bash
# `cmake --install` into a temporary DESTDIR under a prefix of its own: exactly
# the expected files, the programs run from there, the desktop entry and the
# MIME type are valid and find each other, the icons have their sizes.
#   check_install.sh CMAKE BUILD_DIR VERSION
set -euo pipefail
cmake=$1 build=$2 version=$3
id=org.example.TramMapEditor
type=application/x-tram-map-scheme
prefix=/opt/tram-map-editor

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" "$cmake" --install "$build" --prefix "$prefix" >/dev/null
installed="$work/root$prefix"

# Nothing outside the prefix, nothing missing, nothing extra.
expected=$(LC_ALL=C sort <<EOF
${prefix#/}/bin/tram-map-editor
${prefix#/}/bin/tram-map-tool
${prefix#/}/share/applications/$id.desktop
${prefix#/}/share/bash-completion/completions/tram-map-tool
${prefix#/}/share/doc/tram-map-editor/changelog.gz
${prefix#/}/share/doc/tram-map-editor/copyright
${prefix#/}/share/icons/hicolor/128x128/apps/$id.png
${prefix#/}/share/icons/hicolor/256x256/apps/$id.png
${prefix#/}/share/icons/hicolor/48x48/apps/$id.png
${prefix#/}/share/icons/hicolor/scalable/apps/$id.svg
${prefix#/}/share/man/man1/tram-map-editor.1.gz
${prefix#/}/share/man/man1/tram-map-tool.1.gz
${prefix#/}/share/metainfo/$id.metainfo.xml
${prefix#/}/share/mime/packages/$id.xml
EOF
)
actual=$(cd "$work/root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

# The installed programs run and know their version; without a display.
for program in tram-map-editor tram-map-tool; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$installed/bin/$program" --version)
  [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
done

# The desktop entry: no error, warning or hint, and the keys a menu needs.
desktop="$installed/share/applications/$id.desktop"
report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
for line in "Name=Editor mapa vlakonskog saobracaja" "Exec=tram-map-editor %f" \
            "Icon=$id" "MimeType=$type;" "Type=Application"; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done

# The MIME type: well-formed, and the database built from it names *.sch.
mime="$installed/share/mime/packages/$id.xml"
xmllint --noout "$mime" || fail "xmllint refuses $mime"
[ "$(xmllint --xpath 'string(/*/*/@type)' "$mime")" = "$type" ] || fail "MIME type is not $type"
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/"
report=$(XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>&1) || fail "update-mime-database: $report"
[ -z "$report" ] || fail "update-mime-database: $report"
grep -qxF "30:$type:*.sch" "$work/mime/globs2" || fail "globs2 lacks *.sch at weight 30"

# The menu's MIME cache sends scheme files to the editor.
cp -r "$installed/share/applications" "$work/applications"
update-desktop-database "$work/applications"
grep -qxF "$type=$id.desktop;" "$work/applications/mimeinfo.cache" || fail "mimeinfo.cache lacks $type"

# The icons: a well-formed SVG and PNGs of their nominal sizes.
xmllint --noout "$installed/share/icons/hicolor/scalable/apps/$id.svg" || fail "xmllint refuses the SVG icon"
for size in 48 128 256; do
  png="$installed/share/icons/hicolor/${size}x${size}/apps/$id.png"
  file -b "$png" | grep -q "^PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done
echo "install tree: $(wc -l <<<"$expected") files under $prefix, all checks passed"
