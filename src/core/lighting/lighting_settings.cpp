#include "core/lighting/lighting_settings.h"

#include <algorithm>

#include "core/lighting/effect_catalogue.h"
#include "protocol/default_settings_block.h"

namespace qv::lighting {

using Record = device::ProfileSettingsRecord;

LightingField ByteField(int offset, int value) {
    return {offset, {static_cast<std::uint8_t>(value), 0, 0}, 1};
}

LightingField ColourField(int offset, ColourRef colour) {
    return {offset, {RedOf(colour), GreenOf(colour), BlueOf(colour)}, 3};
}

void LightingSettings::SetShownProfile(int profile) {
    shownProfile_ = std::clamp(profile, 0, device::kProfileCount - 1);
}

int LightingSettings::Load(const SettingsFile* settings, const std::function<void()>& insideConfig) {
    global_.ClearEffects();
    effects_ = EffectTable{};
    device::GlobalBlock read = global_;
    if (commands_.ReadGlobalBlock(read) != device::kSuccess) {
        // No effects and no parameters to show; the mirror keeps what it had.
        state_.effect = 0;
        return -1;
    }
    global_ = read;
    effects_ = EffectTable::FromGlobalBlock(global_);

    commands_.BeginConfig();
    if (insideConfig) insideConfig();
    for (int p = 0; p < device::kProfileCount; ++p) {
        std::array<std::uint8_t, 56> answer{};
        // A failed read keeps that profile's previous mirror.
        if (commands_.ReadSettingsMemory(answer, 56, device::SettingsAddress(p)) == device::kSuccess) {
            std::copy_n(answer.begin(), Record::kSize, mirror_[static_cast<std::size_t>(p)].bytes.begin());
        }
    }
    commands_.EndConfig();

    DecodeLightingRecord(mirror_[static_cast<std::size_t>(shownProfile_)], state_);
    if (settings) state_.lightingView = settings->LightingViewOn();
    return 0;
}

void LightingSettings::WriteFields(std::initializer_list<LightingField> fields) {
    commands_.BeginConfig();
    const int base = device::SettingsAddress(shownProfile_);
    for (const LightingField& f : fields) {
        commands_.WriteSettingsMemory(f.bytes.data(), f.count, base + f.offset);
    }
    commands_.EndConfig();
}

int LightingSettings::SelectEffectAt(int position) {
    const int code = effects_.CodeAt(position);
    SelectEffect(code);
    return code;
}

void LightingSettings::SelectEffect(int code) {
    const EffectTraits* traits = TraitsOf(code);
    // A code the tool has no parameters for still runs on the keyboard once it is chosen: the
    // keyboard listed it, and the selector would otherwise show an effect the keyboard is not
    // running.
    const SelectionWrite write = traits                   ? traits->selection
                                 : effects_.Supports(code) ? SelectionWrite::CodeOnly
                                                           : SelectionWrite::Nothing;
    if (write == SelectionWrite::CodeAndColourful) {
        WriteFields({ByteField(Record::kEffect, code), ByteField(Record::kColourful, state_.colourful ? 1 : 0)});
    } else if (write == SelectionWrite::CodeOnly) {
        WriteFields({ByteField(Record::kEffect, code)});
    }
    state_.effect = code;
}

bool LightingSettings::MoveBrightnessSlider(int position) {
    const int level = std::clamp(position, 0, 5);
    if (level == state_.brightness) return false;
    state_.brightness = level;
    WriteFields({ByteField(Record::kBrightness, level)});
    return true;
}

bool LightingSettings::MoveSpeedSlider(int position) {
    const int level = 5 - std::clamp(position, 0, 5);
    if (level == state_.speed) return false;
    state_.speed = level;
    WriteFields({ByteField(Record::kSpeed, level)});
    return true;
}

void LightingSettings::SetDirection(bool first) {
    state_.direction = first ? 255 : 0;
    WriteFields({ByteField(Record::kDirection, state_.direction)});
}

void LightingSettings::PickColour(ColourRef colour) {
    state_.colourful = false;
    state_.colour = colour & 0xFFFFFFu;
    WriteFields({ByteField(Record::kColourful, 0), ColourField(Record::kColour, state_.colour)});
}

void LightingSettings::ToggleColourful() { SetColourful(!state_.colourful); }

void LightingSettings::SetColourful(bool on) {
    state_.colourful = on;
    WriteFields({ByteField(Record::kColourful, on ? 1 : 0)});
}

void LightingSettings::ChooseColour(int choice) {
    if (choice < 0 || choice > 3) return;
    state_.colourChoice = choice;
    WriteFields({ByteField(Record::kColourChoice, choice)});
}

void LightingSettings::SetReportRate(int index) {
    if (index < 0 || index > 3) return;
    state_.reportRate = index;
    WriteFields({ByteField(Record::kReportRate, index)});
}

void LightingSettings::WriteDefaultBlock() {
    commands_.BeginConfig();
    commands_.WriteSettingsMemory(kDefaultSettingsBlock.data(), static_cast<int>(kDefaultSettingsBlock.size()),
                                  device::SettingsAddress(shownProfile_));
    commands_.EndConfig();
    Record defaults = mirror_[static_cast<std::size_t>(shownProfile_)];
    std::copy(kDefaultSettingsBlock.begin(), kDefaultSettingsBlock.end(), defaults.bytes.begin());
    const bool view = state_.lightingView;
    DecodeLightingRecord(defaults, state_);
    state_.lightingView = view;
}

}  // namespace qv::lighting
