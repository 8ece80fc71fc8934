#include "ui/main/key_tooltips.h"

#include "core/app/text_table.h"
#include "core/editor/key_choices.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"

namespace qv::ui {
namespace {

std::string MacroName(const MacroList& macros, std::uint32_t id) {
    for (const MacroRecord& m : macros) {
        if (m.id == id) return m.NameUtf8();
    }
    return {};
}

}  // namespace

std::string KeyButtonTooltip(const std::string& name, const KeyRecord& record, const MacroList& macros) {
    std::string tip = name;
    if (record.type == AssignDefault) return tip;
    tip += Text(TextId::KEY_PROMPT_SET);
    switch (record.type) {
    case AssignSingleKey:
        tip += Text(TextId::KEY_PROMPT_SINGLE) + KeyName(static_cast<KeyCode>(record.value)) + ")";
        break;
    case AssignMacro:
        tip += Text(TextId::KEY_PROMPT_MACRO) + MacroName(macros, record.value) + ")";
        break;
    case AssignMedia:
        tip += Text(TextId::KEY_PROMPT_MEDIA) + KeyName(MediaKeyCode(static_cast<int>(record.value))) + ")";
        break;
    case AssignFunctionKey:
        tip += Text(TextId::KEY_PROMPT_FUNCTION) + FunctionName(static_cast<int>(record.value)) + ")";
        break;
    // Named as the key editor lists them; the text table has no texts for these types.
    case AssignDisabled:
        tip += kDisabledName;
        break;
    case AssignStopMacro:
        tip += kStopMacroName;
        break;
    case AssignLaunchProgram:
        tip += "Launch program";
        break;
    case AssignTextBlock:
        tip += "Type text";
        break;
    default:
        break;
    }
    return tip;
}

}  // namespace qv::ui
