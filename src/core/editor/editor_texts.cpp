#include "core/editor/editor_texts.h"

#include "core/app/text_table.h"
#include "core/editor/composite_ids.h"

namespace qv {

std::string EditorTexts::Caption(int controlId) const {
    const auto it = captions.find(controlId);
    return it == captions.end() ? std::string() : it->second;
}

std::string EditorTexts::Tooltip(int controlId) const {
    const auto it = tooltips.find(controlId);
    return it == tooltips.end() ? std::string() : it->second;
}

EditorTexts LoadEditorTexts(const std::filesystem::path& languageFile, bool macroOnly) {
    namespace id = composite_id;
    const auto read = [&](const char* key) { return ReadLanguageText(languageFile, key); };
    EditorTexts t;
    t.captions[id::kPageSingleKey] = macroOnly ? std::string() : read("SINGLE_KEY");
    t.captions[id::kPageMacro] = read("MACRO_SETTING");
    t.captions[id::kPageMedia] = macroOnly ? std::string() : read("MULTI_MEDIA");
    t.captions[id::kPageFunction] = macroOnly ? std::string() : read("FUNCTION_KEY");
    t.captions[id::kActionToTop] = read("A_TOP");
    t.captions[id::kActionUp] = read("A_UP");
    t.captions[id::kActionDown] = read("A_DOWN");
    t.captions[id::kActionToBottom] = read("A_BOTTOM");
    t.captions[id::kRecord] = read("A_RECORD");
    t.captions[id::kDeleteAction] = read("A_DELETE");
    t.captions[id::kClearActions] = read("A_CLEAR");
    t.captions[id::kOk] = read("MACRO_OK");
    t.captions[id::kCancel] = read("MACRO_CANCLE");
    t.captions[id::kRepeatCountLabel] = read("MACRO_CYCLES");
    t.captions[id::kRecordDelayLabel] = read("RECORD_DELAY");
    t.captions[id::kSingleKeyLabel] = read("SINGLE_STATIC");
    t.captions[id::kMacroNameLabel] = read("MACRO_NAME_SETTING");
    t.captions[id::kKeySettingLabel] = read(macroOnly ? "MACRO_EDIT_TISHI" : "KEY_SETTING_TISHI");
    t.captions[id::kMediaLabel] = read("MEDIA_EDIT_TISHI");
    t.captions[id::kFunctionLabel] = read("FUNCTION_TISHI");
    // The check box carries no caption of its own; its label (1133) does.
    t.captions[id::kRecordDelay] = std::string();
    t.tooltips[id::kClear] = read("COMPOSITE_PROMPT_CLEAR");
    t.tooltips[id::kOnScreenKeyboard] = read("COMPOSITE_PROMPT_OSK");
    return t;
}

}  // namespace qv
