#!/usr/bin/env bash
# Draws the pictures in docs/: the main window on the simulated keyboard, the lighting panel, the
# profile manager, the firmware update dialog and the help page, rendered on Qt's offscreen
# platform by the UI tests that open them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target qv_ui_tests
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT="$PWD/docs/screenshot-main.png" \
  build/tests/qv_ui_tests --gtest_filter='SimulatedWindow.Screenshot'
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT_DIR="$PWD/docs" \
  build/tests/qv_ui_tests --gtest_filter='ProfileWindow.Screenshots:LightingWindow.Screenshots'
echo "docs/screenshot-*.png written"
