#include "core/lighting/user_modes.h"

#include <algorithm>

#include "core/lighting/lighting_keys.h"

namespace qv::lighting {

void FillKeyColours(const UserLightingFile& file, int mode, int profile, KeyColourTable& table) {
    for (int i = 0; i < kColourButtonCount; ++i) {
        const int id = ColourButtonAt(i);
        const int slot = ColourSlotOfButton(id);
        const UserKeyEntry e = file.Key(mode, slot);
        table.SetColour(profile, slot, e.colour);
        table.SetSetFlag(profile, id, e.set);
    }
}

void UserModeEditor::SetShownProfile(int profile) {
    profile_ = std::clamp(profile, 0, device::kProfileCount - 1);
}

std::filesystem::path UserModeEditor::ShownProfileFile() const {
    return UserLightingFilePath(paths_.userPrefix, profile_);
}

void UserModeEditor::LoadUserModes() {
    const auto file = UserLightingFile::Load(ShownProfileFile());
    for (int n = 0; n < kUserModeCount; ++n) state_.names[static_cast<std::size_t>(n)] = file.ModeName(n);
    LoadUserMode();
}

void UserModeEditor::LoadUserMode() {
    const auto file = UserLightingFile::Load(ShownProfileFile());
    const int m = file.PresentMode();
    state_.mode = m;
    const UserModeSettings s = file.Settings(m);
    state_.tool = s.tool;
    state_.base = s.base;
    state_.erase = s.erase;
    FillKeyColours(file, m, profile_, table_);
    SendProfileColours(commands_, table_, profile_);
}

int UserModeEditor::ShowStreamedColours(std::span<const ColourRef, kColourSlots> colours) {
    for (int slot = 0; slot < kColourSlots; ++slot) table_.SetColour(profile_, slot, colours[static_cast<std::size_t>(slot)]);
    return SendProfileColours(commands_, table_, profile_);
}

void UserModeEditor::SelectUserMode(int mode) {
    if (mode < 0 || mode >= kUserModeCount) return;
    auto file = UserLightingFile::Load(ShownProfileFile());
    file.SetPresentMode(mode);
    file.Save();
    LoadUserMode();
}

void UserModeEditor::RenameUserMode(std::string_view text) {
    std::string name(text);
    // A line break would end the INI line and spill into a key of its own.
    std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    state_.names[static_cast<std::size_t>(state_.mode)] = name;
    auto file = UserLightingFile::Load(ShownProfileFile());
    file.SetModeName(state_.mode, name);
    file.Save();
}

void UserModeEditor::SaveModeSettings() {
    auto file = UserLightingFile::Load(ShownProfileFile());
    file.SetSettings(state_.mode, {state_.tool, state_.base, state_.erase});
    file.Save();
}

void UserModeEditor::ChooseTool(int tool) {
    if (tool != kEraseTool && tool != kPaintTool) return;
    state_.tool = tool;
    SaveModeSettings();
}

void UserModeEditor::SetEraseColour(ColourRef colour) {
    state_.erase = colour & 0xFFFFFFu;
    SaveModeSettings();
}

bool UserModeEditor::SetBaseColour(ColourRef colour) {
    colour &= 0xFFFFFFu;
    if (colour == state_.base) return false;
    state_.base = colour;
    auto file = UserLightingFile::Load(ShownProfileFile());
    file.SetSettings(state_.mode, {state_.tool, state_.base, state_.erase});
    for (int i = 0; i < kColourButtonCount; ++i) {
        const int id = ColourButtonAt(i);
        if (!table_.SetFlag(profile_, id)) continue;
        const int slot = ColourSlotOfButton(id);
        table_.SetColour(profile_, slot, colour);
        file.SetKey(state_.mode, slot, {colour, true});
    }
    file.Save();
    SendProfileColours(commands_, table_, profile_);
    return true;
}

bool UserModeEditor::ClickKey(int buttonId, int currentEffect) {
    if (currentEffect != 20) return false;
    // Buttons without a colour slot of their own (the D buttons) take no colour: they would
    // otherwise repaint slot 0, the Esc key.
    const int slot = ColourSlotOfButton(buttonId);
    if (slot < 0) return false;
    UserKeyEntry entry;
    if (state_.tool == kPaintTool) {
        entry = {state_.base, true};
    } else if (state_.tool == kEraseTool) {
        entry = {state_.erase, false};
    } else {
        return false;
    }
    SendKeyColour(commands_, profile_, slot, entry.colour);
    table_.SetColour(profile_, slot, entry.colour);
    table_.SetSetFlag(profile_, buttonId, entry.set);
    auto file = UserLightingFile::Load(ShownProfileFile());
    file.SetKey(state_.mode, slot, entry);
    file.Save();
    return true;
}

void UserModeEditor::RestoreFromPristine() {
    CopyAsTextLines(UserLightingFilePath(paths_.userPrefix, kPristineFileNumber), ShownProfileFile());
    LoadUserModes();
}

}  // namespace qv::lighting
