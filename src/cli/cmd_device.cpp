// The keyboard's basic facts and its active on-board profile.
#include "cli/cmd_device.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"

namespace qv::cli {

int RunInfo(std::span<char* const> args) {
    if (!args.empty()) return Fail(2, "info takes no arguments");
    std::string error;
    auto session = OpenKeyboard(&error);
    if (!session) return Fail(1, error);
    device::GlobalBlock block;
    if (const int r = session->Commands().ReadGlobalBlock(block); r != device::kSuccess) {
        return Fail(1, "cannot read the keyboard's global block: " + DescribeResult(r));
    }
    std::printf("keyboards: %d\n", session->KeyboardCount());
    std::printf("active profile: %d\n", block.ActiveProfile());
    std::printf("macro capacity: %zu bytes\n", block.MacroCapacityBytes());
    std::string effects;
    for (const int code : block.EffectCodes()) {
        if (!effects.empty()) effects += ' ';
        effects += std::to_string(code);
    }
    std::printf("effects: %s\n", effects.c_str());
    return 0;
}

int RunProfile(std::span<char* const> args) {
    if (args.size() > 1) return Fail(2, "usage: quorvanectl profile [N]  (N = 0, 1 or 2)");
    int wanted = -1;
    if (args.size() == 1) {
        const std::string_view text = args[0];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), wanted);
        if (ec != std::errc() || end != text.data() + text.size() || wanted < 0 ||
            wanted >= device::kProfileCount) {
            return Fail(2, "profile must be 0, 1 or 2, not '" + std::string(text) + "'");
        }
    }
    std::string error;
    auto session = OpenKeyboard(&error);
    if (!session) return Fail(1, error);
    device::CommandSet& commands = session->Commands();
    if (wanted >= 0) {
        if (const int r = commands.SetActiveProfile(wanted); r != device::kSuccess) {
            return Fail(1, "cannot set the active profile: " + DescribeResult(r));
        }
        return 0;
    }
    const int active = commands.GetActiveProfile();
    if (active < 0) return Fail(1, "cannot read the active profile");
    std::printf("%d\n", active);
    return 0;
}

}  // namespace qv::cli
