#!/usr/bin/env bash
# `cpack -G DEB` into a temporary folder, the package read back with dpkg-deb:
# its name and version, a Depends line computed from the programs' libraries,
# exactly the expected files, and no maintainer scripts (dpkg's triggers of
# the MIME, menu and icon packages do the refreshing). Then what Debian asks
# of a package: lintian without an error or warning, the copyright and the
# changelog, AppStream metadata that appstreamcli accepts, manual pages that
# render without a warning, stripped binaries, and, where the build is
# hardened (HARDENED is ON), binaries that hardening-check passes.
#   check_package.sh CPACK BUILD_DIR VERSION HARDENED
set -euo pipefail
cpack=$1 build=$2 version=$3 hardened=$4
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
./usr/share/bash-completion/completions/tram-map-tool
./usr/share/doc/tram-map-editor/changelog.gz
./usr/share/doc/tram-map-editor/copyright
./usr/share/icons/hicolor/128x128/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/tram-map-editor.1.gz
./usr/share/man/man1/tram-map-tool.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml
EOF
)
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "packaged files differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

dpkg-deb --control "$deb" "$work/control"
control=$(ls "$work/control" | LC_ALL=C sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control members: $control"

# Debian's checker, at its most exacting; info and pedantic notes are shown
# in the log but pass.
report=$(lintian --pedantic --display-info --fail-on error,warning "$deb" 2>&1) ||
  fail "lintian:"$'\n'"$report"
echo "lintian: ${report:-no hints}"

root="$work/root"
dpkg-deb --extract "$deb" "$root"
doc="$root/usr/share/doc/tram-map-editor"

# The copyright in the machine-readable format, for every file, under the
# licence the AppStream metadata names too (SPDX there, Debian's short name
# here: GPL-3.0-or-later is GPL-3+).
copyright="$doc/copyright"
head -n 1 "$copyright" | grep -qxF "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ||
  fail "copyright is not in the machine-readable format"
grep -qxF "Files: *" "$copyright" || fail "copyright has no paragraph for all files"
licence=$(sed -n 's/^License: //p' "$copyright" | sort -u)
[ "$(wc -l <<<"$licence")" = 1 ] || fail "copyright names more than one licence: $licence"
awk -v field="License: $licence" '$0 == field && getline > 0 && /^ [^ ]/ {text = 1} END {exit !text}' "$copyright" ||
  fail "copyright lacks the text of $licence"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
spdx=$(xmllint --xpath 'string(/component/project_license)' "$metainfo")
[ "$(sed -e 's/-or-later$/+/' -e 's/\.0//g' <<<"$spdx")" = "$licence" ] ||
  fail "AppStream says $spdx, copyright says $licence"

# The changelog's newest entry is this version.
changelog_version=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || fail "changelog's newest entry is $changelog_version, not $version"

# The AppStream metadata alone and with the desktop entry it launches.
for check in "validate --no-net $metainfo" "validate-tree --no-net $root"; do
  report=$(appstreamcli $check 2>&1) || fail "appstreamcli $check: $report"
  grep -qE '^ *[EW]: ' <<<"$report" && fail "appstreamcli $check: $report"
done
release=$(xmllint --xpath 'string(/component/releases/release[1]/@version)' "$metainfo")
[ "$release" = "$version" ] || fail "AppStream's newest release is $release, not $version"

# The manual pages render without a warning, as lintian renders them.
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# Stripped, without the compiler's note; hardened where the build is.
for program in "$root"/usr/bin/*; do
  file -b "$program" | grep -q ', stripped$' || fail "$program is not stripped"
  ! readelf -S "$program" | grep -qF ' .comment ' || fail "$program keeps .comment"
done
if [ "$hardened" = ON ]; then
  # PIE, stack protector, relro and bindnow. Fortify is compiled in, but
  # hardening-check can only see it where a call's buffer size is known to
  # the compiler, which no call here has, so it would say no (the false
  # alarm its manual describes); control flow protection is not among
  # Debian 12's flags.
  report=$(hardening-check --nofortify --nocfprotection "$root"/usr/bin/*) || fail "hardening-check: $report"
  echo "$report"
else
  echo "hardening not checked: the build is not made with TRAM_HARDENING"
fi
echo "package: $(basename "$deb"), Depends: $depends"
