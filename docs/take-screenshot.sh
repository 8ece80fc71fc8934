#!/usr/bin/env bash
# Draws the pictures in docs/: the main window on the simulated keyboard (at 1x, 1.5x and 2x), the
# lighting panel, the profile manager, the firmware update dialog, the key editor and the help
# page, rendered on Qt's offscreen platform by the UI tests that open them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target qv_ui_tests
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT="$PWD/docs/screenshot-main.png" \
  build/tests/qv_ui_tests --gtest_filter='SimulatedWindow.Screenshot'
# The same window on screens at 150 % and 200 %, drawn from the skin's @2x pictures.
for scale in 1.5 2; do
  QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale QT_SCALE_FACTOR_ROUNDING_POLICY=PassThrough \
    QV_SCREENSHOT="$PWD/docs/screenshot-main-${scale}x.png" \
    build/tests/qv_ui_tests --gtest_filter='SimulatedWindow.Screenshot'
done
QT_QPA_PLATFORM=offscreen QV_SCREENSHOT_DIR="$PWD/docs" \
  build/tests/qv_ui_tests --gtest_filter='ProfileWindow.Screenshots:LightingWindow.Screenshots:EditorDialogAlone.Screenshots'
echo "docs/screenshot-*.png written"
