#include "core/keyboard/key_buttons.h"

#include <cstdio>

namespace qv {

const KeyButton* FindKeyButton(int controlId) {
    for (const KeyButton& b : KeyButtonTable()) {
        if (b.controlId == controlId) return &b;
    }
    return nullptr;
}

std::optional<int> GKeyIndexOfButton(int controlId) {
    const auto& ids = GKeyButtons();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == controlId) return static_cast<int>(i);
    }
    return std::nullopt;
}

MatrixIndex MatrixIndexOfButton(int controlId) {
    if (GKeyIndexOfButton(controlId)) return kGKeyMatrixIndex;
    if (controlId == kFnButtonId) return kFnMatrixIndex;
    const KeyButton* b = FindKeyButton(controlId);
    return b != nullptr ? b->matrixIndex : 0;
}

std::string SkinKeyName(KeyCode code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "KEY_%03X", static_cast<unsigned>(KeyCodeToSlot(code)));
    return buf;
}

std::string SkinGKeyName(int position) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "FUNC_G%d", position + 1);
    return buf;
}

}  // namespace qv
