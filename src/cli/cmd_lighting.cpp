// quorvanectl lighting / keycolours: a profile's lighting effect and its per-key colours.
#include <cstdio>
#include <memory>
#include <span>
#include <vector>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cmd_lighting.h"

#include "cli/cli.h"
#include "cli/device_session.h"
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

std::optional<int> ParseInt(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return std::nullopt;
    return v;
}

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

// Parses every option before anything is sent; an error message on failure.
std::optional<std::string> ParseOptions(std::span<char* const> args, bool keyColours, LightingOptions& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view name = args[i];
        if (name == "--json" && !keyColours) {
            o.json = true;
            continue;
        }
        if (name == "--defaults" && !keyColours) {
            o.defaults = true;
            continue;
        }
        if (i + 1 >= args.size()) return "option " + std::string(name) + " needs a value";
        const std::string_view value = args[++i];
        const std::string shown(value);
        const auto range = [&](std::optional<int>& out, int low, int high) -> std::optional<std::string> {
            out = ParseInt(value, low, high);
            if (!out) {
                return std::string(name) + " must be a number from " + std::to_string(low) + " to " +
                       std::to_string(high) + " (got '" + shown + "')";
            }
            return std::nullopt;
        };
        std::optional<std::string> error;
        if (name == "--profile") {
            error = range(o.profile, 0, 2);
        } else if (name == "--mode" && keyColours) {
            error = range(o.mode, 0, kUserModeCount - 1);
        } else if (keyColours) {
            return "unknown option '" + std::string(name) + "'";
        } else if (name == "--effect") {
            error = range(o.effect, 1, 255);
        } else if (name == "--brightness") {
            error = range(o.brightness, 0, 5);
        } else if (name == "--speed") {
            error = range(o.speed, 0, 5);
        } else if (name == "--colour-choice") {
            error = range(o.colourChoice, 0, 3);
        } else if (name == "--report-rate") {
            error = range(o.reportRate, 0, 3);
        } else if (name == "--direction") {
            if (value == "first") o.directionFirst = true;
            else if (value == "second") o.directionFirst = false;
            else error = "--direction must be 'first' or 'second' (got '" + shown + "')";
        } else if (name == "--colourful") {
            if (value == "on") o.colourful = true;
            else if (value == "off") o.colourful = false;
            else error = "--colourful must be 'on' or 'off' (got '" + shown + "')";
        } else if (name == "--colour") {
            o.colour = ParseColour(value);
            if (!o.colour) error = "--colour must be six hexadecimal digits RRGGBB (got '" + shown + "')";
        } else {
            return "unknown option '" + std::string(name) + "'";
        }
        if (error) return error;
    }
    if (o.json && o.Writes()) return "--json only goes with reading";
    return std::nullopt;
}

std::string Hex(ColourRef c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

void Print(const LightingSettings& s, int profile, const std::vector<std::string>& names, bool json) {
    const LightingPanelState& st = s.State();
    const int speed = st.SpeedSliderPosition() < 0 ? 0 : st.SpeedSliderPosition() > 5 ? 5 : st.SpeedSliderPosition();
    const char* direction = st.direction == 255 ? "first" : "second";
    std::string effects;
    for (const EffectEntry& e : s.Effects().Entries()) {
        if (!effects.empty()) effects += json ? "," : " ";
        effects += std::to_string(e.code);
    }
    if (json) {
        std::printf(
            "{\"profile\":%d,\"effect\":%d,\"brightness\":%d,\"speed\":%d,\"direction\":\"%s\","
            "\"colourful\":%s,\"colour\":\"%s\",\"colourChoice\":%d,\"reportRate\":%d,\"effects\":[%s]}\n",
            profile, st.effect, st.brightness, speed, direction, st.colourful ? "true" : "false",
            Hex(st.colour).c_str(), st.colourChoice, st.reportRate, effects.c_str());
        return;
    }
    const int position = s.Effects().PositionOf(st.effect);
    const std::string name =
        position >= 0 && static_cast<std::size_t>(position) < names.size() ? names[static_cast<std::size_t>(position)] : "";
    std::printf("profile:       %d\n", profile);
    std::printf("effect:        %d%s%s%s\n", st.effect, name.empty() ? "" : " (", name.c_str(), name.empty() ? "" : ")");
    std::printf("brightness:    %d\n", st.brightness);
    std::printf("speed:         %d\n", speed);
    std::printf("direction:     %s\n", direction);
    std::printf("colourful:     %s\n", st.colourful ? "on" : "off");
    std::printf("colour:        %s\n", Hex(st.colour).c_str());
    std::printf("colour choice: %d\n", st.colourChoice);
    std::printf("report rate:   %d\n", st.reportRate);
    std::printf("effects:       %s\n", effects.c_str());
}

// The open keyboard and the profile a command acts on: the one asked for, else the active one.
struct Target {
    std::unique_ptr<DeviceSession> session;
    int profile = -1;
};

// Nothing, with the failure reported and its exit code set, when either cannot be had.
std::optional<Target> OpenTarget(const LightingOptions& o, int& exitCode) {
    std::string error;
    Target t{OpenKeyboard(&error)};
    if (!t.session) {
        exitCode = Fail(1, error);
        return std::nullopt;
    }
    t.profile = o.profile ? *o.profile : t.session->Commands().GetActiveProfile();
    if (t.profile < 0 || t.profile > 2) {
        exitCode = Fail(1, "cannot read the active profile from the keyboard");
        return std::nullopt;
    }
    return t;
}

}  // namespace

int RunLighting(std::span<char* const> args) {
    LightingOptions o;
    if (auto error = ParseOptions(args, false, o)) return Fail(2, *error);

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
    Print(s, profile, EffectNames(s.Effects(), program.mainSkin, ReadLanguageValue(program.textTable)), o.json);
    return 0;
}

int RunKeyColours(std::span<char* const> args) {
    LightingOptions o;
    if (auto error = ParseOptions(args, true, o)) return Fail(2, *error);

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
    std::printf("sent user mode %d (%s) of %s to profile %d\n", mode, file.ModeName(mode).c_str(),
                path.string().c_str(), profile);
    return 0;
}

}  // namespace qv::cli
