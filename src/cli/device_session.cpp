#include "cli/device_session.h"

#include "core/device/access_notice.h"
#include "core/device/result_codes.h"

namespace qv::cli {

std::unique_ptr<DeviceSession> OpenDeviceService(const std::filesystem::path& folder, std::string* error) {
    auto link = device::DeviceLink::Open(folder, error);
    if (!link) return nullptr;
    link->Start();
    return std::make_unique<DeviceSession>(std::move(link));
}

std::unique_ptr<DeviceSession> RequireKeyboard(std::unique_ptr<DeviceSession> session,
                                               const std::filesystem::path& folder, std::string* error) {
    if (session && session->KeyboardCount() <= 0) {
        // Plugged in but not openable: say how to get access rather than that nothing is there.
        if (error != nullptr) {
            *error = session->Link().Service().InaccessibleNodes() > 0 ? device::AccessAdvice(folder)
                                                                      : "no keyboard is present";
        }
        return nullptr;
    }
    return session;
}

std::unique_ptr<DeviceSession> OpenKeyboard(const std::filesystem::path& folder, std::string* error) {
    return RequireKeyboard(OpenDeviceService(folder, error), folder, error);
}

std::string DescribeResult(int code) {
    const char* meaning = "unknown";
    switch (code) {
        case device::kSuccess: meaning = "success"; break;
        case device::kNoKeyboard: meaning = "no keyboard present"; break;
        case device::kWriteRefused: meaning = "the keyboard could not be written to"; break;
        case device::kNoMatchingAnswer: meaning = "no answer from the keyboard"; break;
        case device::kStatusFF: meaning = "the keyboard refused the command (status 0xFF)"; break;
        case device::kStatusFE: meaning = "the keyboard refused the command (status 0xFE)"; break;
        case device::kOutOfRange: meaning = "argument out of range"; break;
        default: break;
    }
    return "result " + std::to_string(code) + " (" + meaning + ")";
}

}  // namespace qv::cli
