#!/usr/bin/env bash
# Draws docs/screenshot-main.png: the main window on the simulated keyboard, rendered on Qt's
# offscreen platform by the UI test that opens it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target qv_ui_tests
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT="$PWD/docs/screenshot-main.png" \
  build/tests/qv_ui_tests --gtest_filter='SimulatedWindow.Screenshot'
echo "docs/screenshot-main.png written"
