// quorvanectl lighting / keycolours: a profile's lighting effect and its per-key colours.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/keyboard_change.h"
#include "core/app/paths.h"
#include "core/lighting/effect_table.h"
#include "core/lighting/key_colour_table.h"
#include "core/lighting/lighting_settings.h"
#include "core/lighting/user_lighting_file.h"
#include "core/lighting/user_modes.h"

namespace qv::cli {
namespace {

using namespace qv::lighting;

struct LightingOptions {
    std::optional<int> profile;
    bool json = false;
    bool defaults = false;
    std::optional<int> effect;
    std::optional<int> brightness;
    std::optional<int> speed;  // slider position
    std::optional<bool> directionFirst;
    std::optional<ColourRef> colour;
    std::optional<bool> colourful;
    std::optional<int> colourChoice;
    std::optional<int> reportRate;
    std::optional<int> mode;  // keycolours

    bool Writes() const {
        return defaults || effect || brightness || speed || directionFirst || colour || colourful || colourChoice ||
               reportRate;
    }
};

std::optional<ColourRef> ParseColour(std::string_view text) {
    if (text.size() == 7 && text[0] == '#') text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    unsigned v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return MakeColour(static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v));
}

// Optional values as CLI11 fills them: the plain value and whether the option was given.
struct Given {
    int value = 0;
    CLI::Option* option = nullptr;
    std::optional<int> Get() const {
        return option != nullptr && option->count() > 0 ? std::optional<int>(value) : std::nullopt;
    }
};

std::string Hex(ColourRef c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

void PrintLighting(const LightingSettings& s, int profile, const std::vector<std::string>& names, bool json) {
    const LightingPanelState& st = s.State();
    const int speed = st.SpeedSliderPosition() < 0 ? 0 : st.SpeedSliderPosition() > 5 ? 5 : st.SpeedSliderPosition();
    const char* direction = st.direction == 255 ? "first" : "second";
    std::string effects;
    for (const EffectEntry& e : s.Effects().Entries()) {
        if (!effects.empty()) effects += ' ';
        effects += std::to_string(e.code);
    }
    if (json) {
        nlohmann::ordered_json j;
        j["profile"] = profile + 1;
        j["effect"] = static_cast<int>(st.effect);
        j["brightness"] = static_cast<int>(st.brightness);
        j["speed"] = speed;
        j["direction"] = direction;
        j["colourful"] = static_cast<bool>(st.colourful);
        j["colour"] = Hex(st.colour);
        j["colourChoice"] = static_cast<int>(st.colourChoice);
        j["reportRate"] = static_cast<int>(st.reportRate);
        j["effects"] = nlohmann::ordered_json::array();
        for (const EffectEntry& e : s.Effects().Entries()) j["effects"].push_back(static_cast<int>(e.code));
        Out() << j.dump() << '\n';
        return;
    }
    const int position = s.Effects().PositionOf(st.effect);
    const std::string name =
        position >= 0 && static_cast<std::size_t>(position) < names.size() ? names[static_cast<std::size_t>(position)] : "";
    Print(Out(), "profile:       %d\n", profile + 1);
    Print(Out(), "effect:        %d%s%s%s\n", st.effect, name.empty() ? "" : " (", name.c_str(), name.empty() ? "" : ")");
    Print(Out(), "brightness:    %d\n", st.brightness);
    Print(Out(), "speed:         %d\n", speed);
    Print(Out(), "direction:     %s\n", direction);
    Print(Out(), "colourful:     %s\n", st.colourful ? "on" : "off");
    Print(Out(), "colour:        %s\n", Hex(st.colour).c_str());
    Print(Out(), "colour choice: %d\n", st.colourChoice);
    Print(Out(), "report rate:   %d\n", st.reportRate);
    Print(Out(), "effects:       %s\n", effects.c_str());
}

// The open keyboard and the profile a command acts on: the one asked for, else the active one.
struct Target {
    std::unique_ptr<DeviceSession> session;
    int profile = -1;
};

// Nothing, with the failure reported and its exit code set, when either cannot be had.
std::optional<Target> OpenTarget(const LightingOptions& o, int& exitCode) {
    std::string error;
    Target t{Env().openKeyboard(&error)};
    if (!t.session) {
        exitCode = Fail(1, error);
        return std::nullopt;
    }
    t.profile = o.profile ? *o.profile - 1 : t.session->Commands().GetActiveProfile();
    if (t.profile < 0 || t.profile > 2) {
        exitCode = Fail(1, "cannot read the active profile from the keyboard");
        return std::nullopt;
    }
    return t;
}

int RunLighting(const LightingOptions& o) {
    // A change reads the lighting, then writes the fields given over it: one change at a time.
    std::unique_ptr<platform::KeyboardWriteLock> lock;
    if (o.Writes() && !HoldKeyboardForChange(lock)) return 1;
    int exitCode = 0;
    const auto target = OpenTarget(o, exitCode);
    if (!target) return exitCode;
    device::CommandSet& commands = target->session->Commands();
    const int profile = target->profile;

    LightingSettings s(commands);
    s.SetShownProfile(profile);
    if (s.Load(nullptr) != 0) return Fail(1, "cannot read the lighting from the keyboard");
    if (o.effect && !s.Effects().Supports(*o.effect)) {
        return Fail(2, "the keyboard does not support effect " + std::to_string(*o.effect));
    }

    if (o.Writes()) {
        // The panel's own sequences, one group per change.
        if (o.defaults) s.WriteDefaultBlock();
        if (o.colour) s.PickColour(*o.colour);
        if (o.colourful) s.SetColourful(*o.colourful);
        if (o.effect) s.SelectEffect(*o.effect);
        if (o.brightness) s.MoveBrightnessSlider(*o.brightness);
        if (o.speed) s.MoveSpeedSlider(*o.speed);
        if (o.directionFirst) s.SetDirection(*o.directionFirst);
        if (o.colourChoice) s.ChooseColour(*o.colourChoice);
        if (o.reportRate) s.SetReportRate(*o.reportRate);
        if (s.Load(nullptr) != 0) return Fail(1, "the lighting was written but cannot be read back");
    }
    const ProgramPaths& program = Paths();
    PrintLighting(s, profile, EffectNames(s.Effects(), program.mainSkin, ReadLanguageValue(program.textTable)), o.json);
    if (o.Writes()) {
        lock.reset();
        NotifyWindowOfSettings();
    }
    return 0;
}

int RunKeyColours(const LightingOptions& o) {
    std::unique_ptr<platform::KeyboardWriteLock> lock;
    if (!HoldKeyboardForChange(lock)) return 1;
    int exitCode = 0;
    const auto target = OpenTarget(o, exitCode);
    if (!target) return exitCode;
    device::CommandSet& commands = target->session->Commands();
    const int profile = target->profile;

    const ProgramPaths& program = Paths();
    const UserPaths& user = UserFiles();
    SeedUserLightingFiles({user.userLightingPrefix, program.userLightingTemplatePrefix, user.settingsFile});
    const auto path = UserLightingFilePath(user.userLightingPrefix, profile);
    const auto file = UserLightingFile::Load(path);
    const int mode = o.mode ? *o.mode : file.PresentMode();

    KeyColourTable table;
    FillKeyColours(file, mode, profile, table);
    const int result = SendProfileColours(commands, table, profile);
    if (result != device::kSuccess) return Fail(1, "the key colours were not written: " + DescribeResult(result));
    Print(Out(), "sent user mode %d (%s) of %s to profile %d\n", mode, file.ModeName(mode).c_str(),
                path.string().c_str(), profile + 1);
    lock.reset();
    NotifyWindowOfSettings();
    return 0;
}

struct LightingArguments {
    LightingOptions o;
    int profile = 0;
    CLI::Option* profileOption = nullptr;
    Given effect, brightness, speed, colourChoice, reportRate, mode;
    std::string direction, colour, colourful;
    CLI::Option* directionOption = nullptr;
    CLI::Option* colourOption = nullptr;
    CLI::Option* colourfulOption = nullptr;

    // Every value checked before anything is sent.
    void Collect() {
        if (profileOption->count() > 0) o.profile = profile;
        o.effect = effect.Get();
        o.brightness = brightness.Get();
        o.speed = speed.Get();
        o.colourChoice = colourChoice.Get();
        o.reportRate = reportRate.Get();
        o.mode = mode.Get();
        if (directionOption != nullptr && directionOption->count() > 0) o.directionFirst = direction == "first";
        if (colourfulOption != nullptr && colourfulOption->count() > 0) o.colourful = colourful == "on";
        if (colourOption != nullptr && colourOption->count() > 0) o.colour = ParseColour(colour);
    }
};

std::string CheckColour(const std::string& text) {
    return ParseColour(text) ? std::string() : "must be six hexadecimal digits RRGGBB, not '" + text + "'";
}

}  // namespace

void AddLightingCommands(CLI::App& app, int& exitCode) {
    auto a = std::make_shared<LightingArguments>();
    auto* lighting = app.add_subcommand("lighting", "Show a profile's lighting, or change the fields given");
    a->profileOption = AddProfileOption(*lighting, a->profile, "the profile (default: the active one)");
    auto* json = lighting->add_flag("--json", a->o.json, "print as JSON");
    auto* defaults = lighting->add_flag("--defaults", a->o.defaults, "restore the profile's lighting defaults");
    std::vector<CLI::Option*> writes{defaults};
    writes.push_back(a->effect.option = lighting->add_option("--effect", a->effect.value, "effect code")
                                            ->check(CLI::Range(1, 255)));
    writes.push_back(a->brightness.option =
                         lighting->add_option("--brightness", a->brightness.value)->check(CLI::Range(0, 5)));
    writes.push_back(a->speed.option = lighting->add_option("--speed", a->speed.value)->check(CLI::Range(0, 5)));
    writes.push_back(a->directionOption = lighting->add_option("--direction", a->direction)
                                              ->check(CLI::IsMember({"first", "second"})));
    writes.push_back(a->colourOption = lighting->add_option("--colour", a->colour, "RRGGBB")
                                           ->check(CLI::Validator(CheckColour, "RRGGBB", "colour")));
    writes.push_back(a->colourfulOption =
                         lighting->add_option("--colourful", a->colourful)->check(CLI::IsMember({"on", "off"})));
    writes.push_back(a->colourChoice.option =
                         lighting->add_option("--colour-choice", a->colourChoice.value)->check(CLI::Range(0, 3)));
    writes.push_back(a->reportRate.option =
                         lighting->add_option("--report-rate", a->reportRate.value)->check(CLI::Range(0, 3)));
    for (CLI::Option* w : writes) json->excludes(w);
    lighting->callback([&exitCode, a] {
        a->Collect();
        exitCode = RunLighting(a->o);
    });

    auto b = std::make_shared<LightingArguments>();
    auto* colours = app.add_subcommand("keycolours", "Send a user mode of the profile's user lighting file to the keyboard");
    b->profileOption = AddProfileOption(*colours, b->profile, "the profile (default: the active one)");
    b->mode.option = colours->add_option("--mode", b->mode.value, "user mode (default: the file's present one)")
                         ->check(CLI::Range(0, kUserModeCount - 1));
    colours->callback([&exitCode, b] {
        b->Collect();
        exitCode = RunKeyColours(b->o);
    });
}

}  // namespace qv::cli
