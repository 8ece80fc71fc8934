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
#include "core/keyboard/key_names.h"
#include "core/lighting/effect_table.h"
#include "core/lighting/key_colour_table.h"
#include "core/lighting/lighting_settings.h"
#include "core/lighting/report_rates.h"
#include "core/lighting/user_lighting_file.h"
#include "core/lighting/user_modes.h"

namespace qv::cli {
namespace {

using namespace qv::lighting;

struct LightingOptions {
    std::optional<int> profile;
    bool json = false;
    bool defaults = false;
    std::optional<std::string> effect;  // a name or a code
    std::optional<int> brightness;
    std::optional<int> speed;  // slider position
    std::optional<bool> directionFirst;
    std::optional<ColourRef> colour;
    std::optional<bool> colourful;
    std::optional<int> colourChoice;
    std::optional<int> reportRate;  // index 0..3
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
    const auto& entries = s.Effects().Entries();
    const auto nameAt = [&names](int position) {
        return position >= 0 && static_cast<std::size_t>(position) < names.size() ? names[static_cast<std::size_t>(position)]
                                                                                  : std::string();
    };
    const std::string name = nameAt(s.Effects().PositionOf(st.effect));
    const int rate = ReportRateHz(st.reportRate);
    if (json) {
        nlohmann::ordered_json j;
        j["profile"] = profile + 1;
        j["effect"] = static_cast<int>(st.effect);
        j["effect_name"] = name.empty() ? FallbackEffectName(st.effect) : name;
        j["brightness"] = static_cast<int>(st.brightness);
        j["speed"] = speed;
        j["direction"] = direction;
        j["colourful"] = static_cast<bool>(st.colourful);
        j["colour"] = Hex(st.colour);
        j["colour_choice"] = static_cast<int>(st.colourChoice);
        j["report_rate"] = rate;
        j["effects"] = nlohmann::ordered_json::array();
        for (const EffectEntry& e : entries) j["effects"].push_back({{"code", e.code}, {"name", nameAt(e.position)}});
        Out() << j.dump(2) << '\n';
        return;
    }
    std::string effects;
    for (const EffectEntry& e : entries) {
        if (!effects.empty()) effects += ' ';
        effects += std::to_string(e.code);
    }
    Print(Out(), "profile:       %d\n", profile + 1);
    Print(Out(), "effect:        %d%s%s%s\n", st.effect, name.empty() ? "" : " (", name.c_str(), name.empty() ? "" : ")");
    Print(Out(), "brightness:    %d\n", st.brightness);
    Print(Out(), "speed:         %d\n", speed);
    Print(Out(), "direction:     %s\n", direction);
    Print(Out(), "colourful:     %s\n", st.colourful ? "on" : "off");
    Print(Out(), "colour:        %s\n", Hex(st.colour).c_str());
    Print(Out(), "colour choice: %d\n", st.colourChoice);
    Print(Out(), "report rate:   %d Hz\n", rate);
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
    Target t{OpenKeyboardSession(&error)};
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
    const ProgramPaths& program = Paths();
    const auto names = EffectNames(s.Effects(), program.mainSkin, ReadLanguageValue(program.textTable));
    std::optional<int> effect;
    if (o.effect) {
        effect = FindEffect(*o.effect, s.Effects(), names);
        if (!effect) return Fail(2, UnknownNameMessage("effect", *o.effect, names) + "; the keyboard's effects: quorvanectl names effects");
        if (!s.Effects().Supports(*effect)) return Fail(2, "the keyboard does not support effect " + std::to_string(*effect));
    }

    if (o.Writes()) {
        // A colour picked in the window turns colourful off; here that is said, not done quietly.
        const bool colourfulBefore = s.State().colourful;
        // The panel's own sequences, one group per change.
        if (o.defaults) s.WriteDefaultBlock();
        if (o.colour) s.PickColour(*o.colour);
        if (o.colourful) s.SetColourful(*o.colourful);
        if (o.colour && !o.colourful && (colourfulBefore || o.defaults)) {
            Note("colourful is off now, so the effect shows the colour given (--colourful on brings the colours back)");
        }
        if (effect) s.SelectEffect(*effect);
        if (o.brightness) s.MoveBrightnessSlider(*o.brightness);
        if (o.speed) s.MoveSpeedSlider(*o.speed);
        if (o.directionFirst) s.SetDirection(*o.directionFirst);
        if (o.colourChoice) s.ChooseColour(*o.colourChoice);
        if (o.reportRate) s.SetReportRate(*o.reportRate);
        if (s.Load(nullptr) != 0) return Fail(1, "the lighting was written but cannot be read back");
    }
    // A change shows the lighting it left, unless -q.
    if (!o.Writes() || !Quiet()) PrintLighting(s, profile, names, o.json);
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
    if (!Quiet()) Print(Out(), "sent user mode %d (%s) of %s to profile %d\n", mode, file.ModeName(mode).c_str(),
                path.string().c_str(), profile + 1);
    lock.reset();
    NotifyWindowOfSettings();
    return 0;
}

struct LightingArguments {
    LightingOptions o;
    int profile = 0;
    CLI::Option* profileOption = nullptr;
    Given brightness, speed, colourChoice, reportRate, mode;
    std::string effect, direction, colour, colourful;
    CLI::Option* effectOption = nullptr;
    CLI::Option* directionOption = nullptr;
    CLI::Option* colourOption = nullptr;
    CLI::Option* colourfulOption = nullptr;

    // Every value checked before anything is sent.
    void Collect() {
        if (profileOption->count() > 0) o.profile = profile;
        if (effectOption != nullptr && effectOption->count() > 0) o.effect = effect;
        o.brightness = brightness.Get();
        o.speed = speed.Get();
        o.colourChoice = colourChoice.Get();
        if (const auto hz = reportRate.Get()) o.reportRate = ReportRateIndexOfHz(*hz);
        o.mode = mode.Get();
        if (directionOption != nullptr && directionOption->count() > 0) o.directionFirst = direction == "first";
        if (colourfulOption != nullptr && colourfulOption->count() > 0) o.colourful = colourful == "on";
        if (colourOption != nullptr && colourOption->count() > 0) o.colour = ParseColour(colour);
    }
};

// Rates in Hz as the window labels them; the old indices 0..3 are pointed to their rate.
std::string CheckReportRate(const std::string& text) {
    int hz = -1;
    try {
        std::size_t used = 0;
        hz = std::stoi(text, &used);
        if (used != text.size()) hz = -1;
    } catch (const std::exception&) {
        hz = -1;
    }
    if (ReportRateIndexOfHz(hz)) return {};
    std::string message = "the report rate is " + ReportRateChoicesText() + " (Hz), not '" + text + "'";
    if (hz >= 0 && hz <= 3) message += "; index " + text + " is " + std::to_string(ReportRateHz(hz));
    return message;
}

std::string CheckColour(const std::string& text) {
    return ParseColour(text) ? std::string() : "must be six hexadecimal digits RRGGBB, not '" + text + "'";
}

}  // namespace

void AddLightingCommands(CLI::App& app, int& exitCode) {
    auto a = std::make_shared<LightingArguments>();
    auto* lighting = app.add_subcommand("lighting", "Show a profile's lighting, or change the fields given");
    a->profileOption = AddProfileOption(*lighting, a->profile, "the profile (default: the active one)");
    lighting->add_flag("--json", a->o.json, "print as JSON");
    auto* defaults = lighting->add_flag("--defaults", a->o.defaults, "restore the profile's lighting defaults first");
    std::vector<CLI::Option*> writes{defaults};
    writes.push_back(a->effectOption = lighting->add_option(
                         "--effect", a->effect, "the effect, by its name as the window shows it or its code "
                                                "(quorvanectl names effects)")
                         ->type_name("NAME|CODE"));
    writes.push_back(a->brightness.option = InRange(lighting->add_option("--brightness", a->brightness.value,
                                                                 "0 (darkest) to 5 (brightest)"), 0, 5));
    writes.push_back(a->speed.option = InRange(lighting->add_option("--speed", a->speed.value,
                                                            "0 (slowest) to 5 (fastest), as the window's slider from left to right"), 0, 5));
    writes.push_back(a->directionOption = OneOf(lighting->add_option("--direction", a->direction,
                                                               "the first or second of the effect's two directions, "
                                                               "as the window's two direction pictures"), {"first", "second"}));
    writes.push_back(a->colourOption = lighting->add_option("--colour,--color", a->colour,
                                                            "the effect's colour as RRGGBB; turns colourful off "
                                                            "unless --colourful on is given")
                                           ->type_name("RRGGBB")
                                           ->check(CLI::Validator(CheckColour, "", "colour")));
    writes.push_back(a->colourfulOption = lighting->add_option("--colourful,--colorful", a->colourful,
                                                               "on: the effect runs through the colours; off: it "
                                                               "shows its one colour")
                                              ->type_name("on|off")
                                              ->check(CLI::IsMember({"on", "off"}).description("")));
    writes.push_back(a->colourChoice.option = InRange(lighting->add_option("--colour-choice,--color-choice", a->colourChoice.value,
                                                                   "0 red, 1 yellow, 2 green, 3 blue: the window's four "
                                                                   "colour pictures"), 0, 3));
    writes.push_back(a->reportRate.option = lighting->add_option("--report-rate", a->reportRate.value,
                                                                 "how often the keyboard reports, in Hz: " +
                                                                     ReportRateChoicesText())
                                                ->type_name("HZ")
                                                ->check(CLI::Validator(CheckReportRate, "", "rate")));
    lighting->footer(
        "Without options it shows the lighting; with them it writes the fields given at once, as the\n"
        "window's lighting panel does, and shows the result.\n"
        "  quorvanectl lighting --effect \"Rainbow Wave\" --speed 5\n"
        "  quorvanectl lighting --profile 2 --colour 00ff80 --brightness 3\n"
        "  quorvanectl lighting --report-rate 1000");
    lighting->callback([&exitCode, a, writes] {
        // Checked here rather than by CLI11's excludes, which would list every option in --help.
        for (const CLI::Option* w : writes) {
            if (a->o.json && w->count() > 0) {
                exitCode = Fail(kExitUsage, "--json shows the lighting; it does not go with " + w->get_name());
                return;
            }
        }
        a->Collect();
        exitCode = RunLighting(a->o);
    });

    auto b = std::make_shared<LightingArguments>();
    auto* colours = app.add_subcommand("keycolours", "Send a user mode of the profile's user lighting file to the keyboard");
    b->profileOption = AddProfileOption(*colours, b->profile, "the profile (default: the active one)");
    b->mode.option = InRange(colours->add_option("--mode", b->mode.value,
                                         "the user mode of the file to send, 0 to " + std::to_string(kUserModeCount - 1) +
                                             " (default: the one the file marks as present)"), 0, kUserModeCount - 1);
    colours->callback([&exitCode, b] {
        b->Collect();
        exitCode = RunKeyColours(b->o);
    });
}

}  // namespace qv::cli
