#pragma once
// Per-key colour editing for effect 20: the user modes of the shown profile, the paint and erase
// tools, key clicks and the base and erase colours. Colours go to the keyboard at once; the
// user lighting file of the profile keeps every change.

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "core/device/command_set.h"
#include "core/lighting/colour.h"
#include "core/lighting/key_colour_table.h"
#include "core/lighting/user_lighting_file.h"

namespace qv::lighting {

// Fills the profile's colours and set flags from one mode of a user lighting file: the 104 key
// buttons, the nine G keys (one entry, slot 125) and Fn (slot 110).
void FillKeyColours(const UserLightingFile& file, int mode, int profile, KeyColourTable& table);

struct UserModeState {
    int mode = 0;
    int tool = kEraseTool;
    ColourRef base = kBlack;
    ColourRef erase = kBlack;
    std::array<std::string, kUserModeCount> names;  // the selector's entries
};

class UserModeEditor {
public:
    UserModeEditor(device::CommandSet& commands, UserLightingPaths paths)
        : commands_(commands), paths_(std::move(paths)) {}

    void SetShownProfile(int profile);
    int ShownProfile() const { return profile_; }
    std::filesystem::path ShownProfileFile() const;

    // Names of the ten modes, then the current mode (sent to the keyboard).
    void LoadUserModes();
    // The current mode's tool, colours, key colours and set flags; sends the whole profile.
    void LoadUserMode();
    // A selector change: the mode becomes the file's current mode and is loaded. 0..9 only.
    void SelectUserMode(int mode);
    // The selector's edit text becomes the current mode's name (line breaks become blanks).
    void RenameUserMode(std::string_view text);
    // 0 erase, 1 paint; saved with the mode.
    void ChooseTool(int tool);
    void SetEraseColour(ColourRef colour);
    // Recolours the keys last painted and resends the profile; false when the colour is the same.
    bool SetBaseColour(ColourRef colour);
    // A key button clicked in the lighting view while `currentEffect` is selected; true when the
    // key took a colour (effect 20 and a known tool and button).
    bool ClickKey(int buttonId, int currentEffect);
    // The shown profile's file replaced by the pristine copy (file 3), then loaded again.
    void RestoreFromPristine();
    // Colours another program streams for the shown profile: into the table and the keyboard (the
    // whole profile, one group), never into the user lighting file, which keeps the user's own
    // layouts. Returns the send's result.
    int ShowStreamedColours(std::span<const ColourRef, kColourSlots> colours);

    const UserModeState& State() const { return state_; }
    const KeyColourTable& Table() const { return table_; }
    // The colour each per-key button shows for the shown profile (G keys slot 125, Fn slot 110).
    ColourRef ButtonColour(int buttonId) const { return table_.ButtonColour(profile_, buttonId); }

private:
    void SaveModeSettings();

    device::CommandSet& commands_;
    UserLightingPaths paths_;
    int profile_ = 0;
    UserModeState state_;
    KeyColourTable table_;
};

}  // namespace qv::lighting
