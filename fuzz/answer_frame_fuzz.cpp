// Answers from the keyboard are not trusted: the input is a run of 64-byte answer frames (the
// last one cut short or padded), handed one per request to the command set while it reads the
// keyboard into a profile, as on every arrival. Nothing may crash or read past an answer.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/device/command_set.h"
#include "core/profile/profile_rebuild.h"
#include "protocol/key_matrix.h"

namespace {

class ScriptedAnswers final : public qv::device::Exchanger {
public:
    ScriptedAnswers(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    int ExchangeReport(const std::uint8_t* request, std::size_t, std::uint8_t* answer, std::size_t capacity,
                       std::size_t* received) override {
        if (received != nullptr) *received = 0;
        if (at_ >= size_) return qv::device::kNoMatchingAnswer;
        // The first byte of each answer chooses how much of it arrives (a short report).
        const std::size_t length = std::min<std::size_t>({size_ - at_, 64, capacity});
        std::fill_n(answer, capacity, std::uint8_t{0});
        std::copy_n(data_ + at_, length, answer);
        at_ += 64;
        // The engine only hands over answers whose command byte matches.
        if (length <= 3 || answer[3] != request[3]) return qv::device::kNoMatchingAnswer;
        if (received != nullptr) *received = length;
        return qv::device::kSuccess;
    }
    int SendReportNoReply(const std::uint8_t*, std::size_t) override { return 1; }
    void Pause(std::chrono::milliseconds) override {}

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ScriptedAnswers keyboard(data, size);
    qv::device::CommandSet commands(keyboard);
    qv::device::GlobalBlock global;
    if (commands.ReadGlobalBlock(global) == qv::device::kSuccess) {
        (void)global.EffectCodes();
        (void)global.MacroCapacityBytes();
    }
    qv::KeyMatrix factory{};
    if (commands.ReadDefaultKeyMatrix(factory) != qv::device::kSuccess) factory = qv::BuiltInFactoryMatrix();
    const auto dump = qv::ReadKeyboardDump(commands);
    if (!dump) return 0;
    const qv::ProfileContent content = qv::BuildContentFromDump(*dump, factory);
    if (content.macros.size() > static_cast<std::size_t>(qv::kMaxMacros)) std::abort();
    return 0;
}
