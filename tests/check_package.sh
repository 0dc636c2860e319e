#!/usr/bin/env bash
# `cpack -G DEB` into a temporary folder, the package read back with dpkg-deb:
# its name and version, a Depends line computed from the programs' libraries,
# exactly the expected files, and no maintainer scripts (dpkg's triggers of
# the MIME, menu and icon packages do the refreshing).
#   check_package.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1 build=$2 version=$3
id=org.example.TramMapEditor

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

log=$("$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" 2>&1) || fail "cpack: $log"
arch=$(dpkg --print-architecture)
deb="$work/tram-map-editor_${version}_$arch.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tram-map-editor ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"

# dpkg-shlibdeps writes versioned entries for the libraries the programs link;
# only the platform plugins, loaded with dlopen, and the labels' font are
# named by hand.
depends=$(field Depends)
for entry in "libc6 (>= " "libstdc++6 (>= " "libqt6core6 (>= " "libqt6gui6 (>= " "libqt6widgets6 (>= " "libqt6svg6 (>= "; do
  grep -qF "$entry" <<<"$depends" || fail "Depends lacks '$entry': $depends"
done
for package in qt6-qpa-plugins fonts-dejavu-core; do
  grep -qE "(^|, )$package(,|\$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
recommends=$(field Recommends)
for package in shared-mime-info desktop-file-utils hicolor-icon-theme; do
  grep -qF "$package" <<<"$recommends" || fail "Recommends lacks $package: $recommends"
done

expected=$(LC_ALL=C sort <<EOF
./usr/bin/tram-map-editor
./usr/bin/tram-map-tool
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/mime/packages/$id.xml
EOF
)
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "packaged files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

dpkg-deb --control "$deb" "$work/control"
control=$(ls "$work/control" | LC_ALL=C sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control members: $control"
echo "package: $(basename "$deb"), Depends: $depends"
