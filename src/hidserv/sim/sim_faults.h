#pragma once
// Faults of the simulated keyboard, by frame number: what goes wrong with which command frame.
// They come from the control interface ("the next n frames") or from QUORVANE_SIM_FAULTS
// ("KIND@FRAME[*COUNT],..."), so scripts and black-box runs of the program and quorvanectl can
// put faults in without the control calls.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::hidserv {

enum class FaultKind {
    NoAnswer,      // the frame is lost: not handled, not answered
    WrongCommand,  // handled; the answer carries another command byte
    StatusFF,      // refused with status 0xFF, memory untouched
    StatusFE,      // refused with status 0xFE, memory untouched
    Disconnect,    // the keyboard leaves at this frame and does not answer it
    ExtraAnswer,   // handled; a report for another command arrives just before the answer
    LateAnswer,    // handled; the answer is held back until the next frame arrives
};

struct ScheduledFault {
    FaultKind kind;
    std::uint32_t frame;  // 1-based number of the first frame affected
    std::uint32_t count;  // consecutive frames affected
    bool operator==(const ScheduledFault&) const = default;
};

// Parses "KIND@FRAME[*COUNT][,KIND@FRAME[*COUNT]...]" (kinds: no-answer, wrong-command,
// status-ff, status-fe, disconnect, extra-answer, late-answer; FRAME >= 1, COUNT >= 1). An empty
// text is an empty list. On a bad value: nullopt and `error` names the part that did not parse.
std::optional<std::vector<ScheduledFault>> ParseFaultList(std::string_view text, std::string* error);

class FaultPlan {
public:
    void Add(const ScheduledFault& fault) { faults_.push_back(fault); }
    void DropKind(FaultKind kind);
    void Clear() { faults_.clear(); }
    // The fault for frame number `frame`; the one added first wins where several overlap.
    std::optional<FaultKind> At(std::uint32_t frame) const;

private:
    std::vector<ScheduledFault> faults_;
};

}  // namespace qv::hidserv
