#include "hidserv/sim/sim_faults.h"

#include <array>
#include <charconv>
#include <utility>

namespace qv::hidserv {
namespace {

constexpr std::array<std::pair<std::string_view, FaultKind>, 7> kKinds{{
    {"no-answer", FaultKind::NoAnswer},
    {"wrong-command", FaultKind::WrongCommand},
    {"status-ff", FaultKind::StatusFF},
    {"status-fe", FaultKind::StatusFE},
    {"disconnect", FaultKind::Disconnect},
    {"extra-answer", FaultKind::ExtraAnswer},
    {"late-answer", FaultKind::LateAnswer},
}};

// A whole positive decimal number, nothing else.
std::optional<std::uint32_t> PositiveNumber(std::string_view text) {
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || at != end || value == 0) return std::nullopt;
    return value;
}

std::optional<ScheduledFault> ParseOne(std::string_view part, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<ScheduledFault> {
        if (error != nullptr) *error = "\"" + std::string(part) + "\": " + why;
        return std::nullopt;
    };
    const auto atSign = part.find('@');
    if (atSign == std::string_view::npos) return fail("expected KIND@FRAME");
    const std::string_view kindText = part.substr(0, atSign);
    std::optional<FaultKind> kind;
    for (const auto& [name, k] : kKinds) {
        if (name == kindText) kind = k;
    }
    if (!kind) {
        return fail("unknown fault kind (no-answer, wrong-command, status-ff, status-fe, disconnect, "
                    "extra-answer, late-answer)");
    }
    std::string_view rest = part.substr(atSign + 1);
    std::string_view countText;
    if (const auto star = rest.find('*'); star != std::string_view::npos) {
        countText = rest.substr(star + 1);
        rest = rest.substr(0, star);
    }
    const auto frame = PositiveNumber(rest);
    if (!frame) return fail("FRAME must be a number from 1");
    std::uint32_t count = 1;
    if (!countText.empty() || part.find('*') != std::string_view::npos) {
        const auto n = PositiveNumber(countText);
        if (!n) return fail("COUNT must be a number from 1");
        count = *n;
    }
    return ScheduledFault{*kind, *frame, count};
}

}  // namespace

std::optional<std::vector<ScheduledFault>> ParseFaultList(std::string_view text, std::string* error) {
    std::vector<ScheduledFault> faults;
    if (text.empty()) return faults;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view part =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        const auto fault = ParseOne(part, error);
        if (!fault) return std::nullopt;
        faults.push_back(*fault);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return faults;
}

void FaultPlan::DropKind(FaultKind kind) {
    std::erase_if(faults_, [&](const ScheduledFault& f) { return f.kind == kind; });
}

std::optional<FaultKind> FaultPlan::At(std::uint32_t frame) const {
    for (const ScheduledFault& f : faults_) {
        if (frame >= f.frame && std::uint64_t{frame} < std::uint64_t{f.frame} + f.count) return f.kind;
    }
    return std::nullopt;
}

}  // namespace qv::hidserv
