#!/usr/bin/env bash
# Quick start: install what is missing, build, start the editor.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh" run

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "The editor is built ($BUILD_DIR/bin/tram-map-editor) but there is no display to show it on:" >&2
  echo "set DISPLAY (or WAYLAND_DISPLAY), or run it under a virtual display, e.g." >&2
  echo "  xvfb-run -s '-screen 0 1280x1024x24' $BUILD_DIR/bin/tram-map-editor" >&2
  echo "(xvfb-run is in the Debian package xvfb: apt-get install xvfb)" >&2
  exit 1
fi
exec "$BUILD_DIR/bin/tram-map-editor"
