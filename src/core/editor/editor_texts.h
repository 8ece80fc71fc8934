#pragma once
// Captions, labels and tooltips of the key editor, read from the language file in the current
// language each time the editor opens.

#include <filesystem>
#include <map>
#include <string>

namespace qv {

struct EditorTexts {
    std::map<int, std::string> captions;  // by control id (composite_ids.h)
    std::map<int, std::string> tooltips;

    // Empty for a control without a text.
    std::string Caption(int controlId) const;
    std::string Tooltip(int controlId) const;
};

// In macro-only mode the single-key, multimedia and function page buttons have no caption and
// the title label names the macro settings.
EditorTexts LoadEditorTexts(const std::filesystem::path& languageFile, bool macroOnly);

}  // namespace qv
