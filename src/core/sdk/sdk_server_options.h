#pragma once
// Whether and where the SDK server listens: the user's lasting choice in the application settings
// store, and `--sdk-server[=PORT]` on the command line for one run.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/settings.h"
#include "core/sdk/sdk_wire.h"

namespace qv::sdk {

inline constexpr std::string_view kEnabledValue = "SdkServer";          // "1": on
inline constexpr std::string_view kAddressValue = "SdkServerAddress";   // default 127.0.0.1
inline constexpr std::string_view kPortValue = "SdkServerPort";         // default 6742
inline constexpr std::string_view kCommandLineOption = "--sdk-server";

struct SdkServerOptions {
    bool enabled = false;
    std::string address = "127.0.0.1";
    std::uint16_t port = kDefaultPort;
};

// Off unless the store says "1"; an address or port that does not read keeps the default.
SdkServerOptions ReadSdkServerOptions(const SettingsStore& store);
bool WriteSdkServerEnabled(const SettingsStore& store, bool enabled);

// 1..65535 in decimal, nothing else.
std::optional<std::uint16_t> ParsePort(std::string_view text);

// Applies `--sdk-server` (on, this run) or `--sdk-server=PORT` (on, that port) among the
// arguments. A port that does not read is reported in `error` and leaves the options as they were.
void ApplySdkServerArguments(const std::vector<std::string>& arguments, SdkServerOptions& options, std::string* error);

}  // namespace qv::sdk
