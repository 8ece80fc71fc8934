#include "core/sdk/sdk_server_options.h"

#include <charconv>

namespace qv::sdk {

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || p != end || value == 0 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

SdkServerOptions ReadSdkServerOptions(const SettingsStore& store) {
    SdkServerOptions o;
    o.enabled = store.ReadValue(kEnabledValue).value_or("0") == "1";
    if (const auto address = store.ReadValue(kAddressValue); address && !address->empty()) o.address = *address;
    if (const auto port = store.ReadValue(kPortValue)) o.port = ParsePort(*port).value_or(kDefaultPort);
    return o;
}

bool WriteSdkServerEnabled(const SettingsStore& store, bool enabled) {
    return store.WriteValue(kEnabledValue, enabled ? "1" : "0");
}

void ApplySdkServerArguments(const std::vector<std::string>& arguments, SdkServerOptions& options, std::string* error) {
    for (const std::string& a : arguments) {
        if (a == kCommandLineOption) {
            options.enabled = true;
        } else if (a.starts_with(std::string(kCommandLineOption) + "=")) {
            const std::string_view text = std::string_view(a).substr(kCommandLineOption.size() + 1);
            if (const auto port = ParsePort(text)) {
                options.enabled = true;
                options.port = *port;
            } else if (error != nullptr) {
                *error = "quorvane: " + std::string(kCommandLineOption) + ": not a port number: " + std::string(text);
            }
        }
    }
}

}  // namespace qv::sdk
