// A full download (full macro memory, three key matrices) through the real service library with
// each kind of fault put on every one of its frames in turn.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/app/text_table.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "core/profile/key_download.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"
#include "support/recording_prompt.h"
#include "support/sample_profile_content.h"
#include "support/simulated_keyboard.h"

namespace qv {
namespace {

// Macros added to `content` until the image with names fills `capacity` to the last 4 bytes.
void FillMacroMemory(ProfileContent& content, std::size_t capacity) {
    auto size = [&] { return MacroImageSizes(content.macros).withNames; };
    while (true) {
        MacroRecord m;
        m.SetName(u"fill");
        m.id = static_cast<std::uint16_t>(content.macros.size() + 1);
        m.actionCount = 1;
        m.actions[0] = {10, 0x01E, 1};
        content.macros.push_back(m);
        if (size() > capacity) {
            content.macros.pop_back();
            break;
        }
        MacroRecord& last = content.macros.back();
        while (last.actionCount < kMaxMacroActions && size() + 4 <= capacity) {
            last.actions[last.actionCount] = {10, 0x01E, static_cast<std::uint16_t>(last.actionCount % 2)};
            ++last.actionCount;
        }
        if (last.actionCount < kMaxMacroActions) break;
    }
}

class DownloadFaultSweep : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        KeyMatrix factory{};
        ASSERT_EQ(kb.Commands().ReadDefaultKeyMatrix(factory), device::kSuccess);
        SetDefaultKeyMatrix(factory);
        device::GlobalBlock global;
        ASSERT_EQ(kb.Commands().ReadGlobalBlock(global), device::kSuccess);
        capacity = global.MacroCapacityBytes();
        {
            auto lock = working.Lock();
            working.Content() = test::KeyboardHeldContent();
            FillMacroMemory(working.Content(), capacity);
        }
        ASSERT_TRUE(CreateDefaultFile(workingFile));
        ASSERT_TRUE(WriteStoreToWorkingFile(working, workingFile));

        // What the keyboard must hold after a good download.
        const std::uint32_t before = kb.Sim().FrameCount();
        ASSERT_EQ(Download(), device::kSuccess);
        frames = kb.Sim().FrameCount() - before;
        intendedMacro = kb.Sim().Read(QV_SIM_MACRO, 0, static_cast<std::uint32_t>(capacity));
        intendedMatrices = kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 3 * 378);
        fileBytes = ReadWholeFile(workingFile).value_or(std::vector<std::uint8_t>{});
        auto lock = working.Lock();
        workingContent = working.Content();
    }
    void TearDown() override { ResetDefaultKeyMatrix(); }

    int Download() {
        int code = 0;
        CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}, &code);
        return code;
    }

    // The keyboard back to something else than the intended content.
    void Scramble() {
        kb.Sim().Write(QV_SIM_MACRO, 0, std::vector<std::uint8_t>(capacity, 0x5A));
        kb.Sim().Write(QV_SIM_KEY_MATRICES, 0, std::vector<std::uint8_t>(3 * 378, 0));
    }

    void ExpectIntendedContent() {
        EXPECT_EQ(kb.Sim().Read(QV_SIM_MACRO, 0, static_cast<std::uint32_t>(capacity)), intendedMacro);
        EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 3 * 378), intendedMatrices);
    }

    // Puts `kind` (with `repeat`, the fault list's "*COUNT") on every frame of the download in
    // turn; after each faulty download the fault is cleared and a second one must leave the
    // keyboard exactly as intended.
    void Sweep(const std::string& kind, std::uint32_t repeat) {
        // Only the faulty frames wait briefly; every other answer is given ample time, since an
        // answer that misses its wait turns up in a later exchange with the same command byte
        // and would be taken for that one's answer.
        std::uint32_t faultFrom = 0;
        kb.Clock().realWaitNow = [&] {
            const std::uint32_t now = kb.Sim().FrameCount();
            return now >= faultFrom && now < faultFrom + repeat ? std::chrono::milliseconds(1)
                                                                : std::chrono::milliseconds(1000);
        };
        for (std::uint32_t at = 1; at <= frames; ++at) {
            SCOPED_TRACE(kind + " at frame " + std::to_string(at));
            Scramble();
            faultFrom = kb.Sim().FrameCount() + at;
            ASSERT_EQ(kb.Sim().ScheduleFaults(kind + "@" + std::to_string(at) + "*" + std::to_string(repeat)), 1);
            const auto started = std::chrono::steady_clock::now();
            const int code = Download();
            ASSERT_NE(code, device::kSuccess);
            // Far inside the engine's bound: only the faulty frame goes unanswered.
            EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
            kb.Sim().ClearFaults();
            {
                auto lock = working.Lock();
                ASSERT_TRUE(working.Content() == workingContent);
            }
            ASSERT_EQ(ReadWholeFile(workingFile).value_or(std::vector<std::uint8_t>{}), fileBytes);
            if (kb.Link().KeyboardCount() == 0) kb.Sim().Attach(true);
            ASSERT_EQ(Download(), device::kSuccess);
            ExpectIntendedContent();
            if (HasFailure()) return;
            kb.Clock().Clear();
        }
        kb.Clock().realWaitNow = nullptr;
    }

    test::SimulatedKeyboard kb;
    test::RecordingPrompt prompt;
    ProfileStore working;
    ProfileStore applied;
    std::filesystem::path workingFile = kb.StateFile().parent_path() / "$Profile0";
    std::size_t capacity = 0;
    std::uint32_t frames = 0;
    std::vector<std::uint8_t> intendedMacro;
    std::vector<std::uint8_t> intendedMatrices;
    std::vector<std::uint8_t> fileBytes;
    ProfileContent workingContent;
};

TEST_F(DownloadFaultSweep, TheDownloadFillsTheMacroMemory) {
    // BeginConfig, 583 macro frames, 21 key-matrix frames, EndConfig.
    EXPECT_EQ(frames, 1u + (capacity + 55) / 56 + 21u + 1u);
    EXPECT_GE(MacroImageSizes(workingContent.macros).withNames + 4, capacity);
}

// Three in a row, so the engine's retries cannot save the frame.
TEST_F(DownloadFaultSweep, NoAnswer) { Sweep("no-answer", 3); }
TEST_F(DownloadFaultSweep, WrongCommandByte) { Sweep("wrong-command", 3); }
TEST_F(DownloadFaultSweep, StatusFF) { Sweep("status-ff", 3); }
TEST_F(DownloadFaultSweep, StatusFE) { Sweep("status-fe", 3); }
TEST_F(DownloadFaultSweep, Disconnect) { Sweep("disconnect", 1); }

}  // namespace
}  // namespace qv
