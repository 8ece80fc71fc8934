#pragma once
// The report rates behind the keyboard's report-rate index (byte 15 of a profile's settings
// record), as the window's four buttons label them.

#include <array>
#include <optional>
#include <string>

namespace qv::lighting {

inline constexpr std::array<int, 4> kReportRatesHz{125, 250, 500, 1000};

// The rate of index 0..3; an index above 3 reads as 3, as the keyboard's record is read.
inline int ReportRateHz(int index) {
    return kReportRatesHz[static_cast<std::size_t>(index < 0 ? 0 : index > 3 ? 3 : index)];
}

// The index of a rate in Hz; nothing for a rate the keyboard does not have.
inline std::optional<int> ReportRateIndexOfHz(int hz) {
    for (std::size_t i = 0; i < kReportRatesHz.size(); ++i) {
        if (kReportRatesHz[i] == hz) return static_cast<int>(i);
    }
    return std::nullopt;
}

// "125, 250, 500 or 1000".
inline std::string ReportRateChoicesText() {
    std::string text;
    for (std::size_t i = 0; i < kReportRatesHz.size(); ++i) {
        if (i > 0) text += i + 1 == kReportRatesHz.size() ? " or " : ", ";
        text += std::to_string(kReportRatesHz[i]);
    }
    return text;
}

}  // namespace qv::lighting
