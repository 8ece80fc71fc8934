#!/usr/bin/env bash
# Draws docs/screenshot-main.png and the lighting panel's pictures: the main window on the
# simulated keyboard, rendered on Qt's offscreen platform by the UI tests that open it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target qv_ui_tests
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT="$PWD/docs/screenshot-main.png" \
  build/tests/qv_ui_tests --gtest_filter='SimulatedWindow.Screenshot'
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT_DIR="$PWD/docs" \
  build/tests/qv_ui_tests --gtest_filter='LightingWindow.Screenshots'
echo "docs/screenshot-main.png and docs/screenshot-lighting-*.png written"
