// Downloads through the real service library with faults put on their frames: a full download
// (full macro memory, three key matrices) on every frame in turn, and an import of three profiles
// and a single key change on the frames where each part of their download begins and ends.
// After each faulty run the keyboard must hold what the run says it took, and a rerun with the
// fault cleared must leave it holding exactly the intended contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "core/profile/key_download.h"
#include "core/profile/keyboard_contents.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_operations.h"
#include "platform/atomic_file.h"
#include "support/one_answer_chooser.h"
#include "support/recording_prompt.h"
#include "support/sample_profile_content.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

constexpr std::uint32_t kMatrices = 3 * 378;

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

// The parts of the keyboard's memory a download writes.
struct Memory {
    std::vector<std::uint8_t> macro;     // the whole macro memory
    std::vector<std::uint8_t> matrices;  // the three key matrices

    std::vector<std::uint8_t> Matrix(int p) const {
        return {matrices.begin() + p * 378, matrices.begin() + (p + 1) * 378};
    }
};

class FaultSweep : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        capacity = kb.ReadLikeArrival();
        ASSERT_GT(capacity, 0u);
    }
    void TearDown() override {
        kb.Clock().realWaitNow = nullptr;
        ResetDefaultKeyMatrix();
    }

    Memory Read() const {
        return {kb.Sim().Read(QV_SIM_MACRO, 0, static_cast<std::uint32_t>(capacity)),
                kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, kMatrices)};
    }
    void Restore(const Memory& m) {
        ASSERT_EQ(kb.Sim().Write(QV_SIM_MACRO, 0, m.macro), 1);
        ASSERT_EQ(kb.Sim().Write(QV_SIM_KEY_MATRICES, 0, m.matrices), 1);
    }
    // The keyboard holds `intended`: its three matrices, and the first `macroBytes` of macro
    // memory (the image; a download never writes past it).
    void ExpectHolds(const Memory& intended, std::size_t macroBytes) const {
        const Memory now = Read();
        EXPECT_TRUE(std::equal(intended.macro.begin(), intended.macro.begin() + static_cast<long>(macroBytes),
                               now.macro.begin()))
            << "macro memory";
        for (int p = 0; p < 3; ++p) EXPECT_EQ(now.Matrix(p), intended.Matrix(p)) << "profile " << p + 1;
    }

    // Runs `send` with `kind` on the at-th frame from now (and `repeat` - 1 more), then clears the
    // fault and brings a keyboard that left back.
    template <typename Send>
    void WithFault(const std::string& kind, std::uint32_t at, std::uint32_t repeat, Send send) {
        // Only the faulty frames wait briefly; every other answer is given ample time, since an
        // answer that misses its wait turns up in a later exchange with the same command byte
        // and would be taken for that one's answer.
        const std::uint32_t faultFrom = kb.Sim().FrameCount() + at;
        kb.Clock().realWaitNow = [this, faultFrom, repeat] {
            const std::uint32_t now = kb.Sim().FrameCount();
            return now >= faultFrom && now < faultFrom + repeat ? std::chrono::milliseconds(1)
                                                                : std::chrono::milliseconds(1000);
        };
        ASSERT_EQ(kb.Sim().ScheduleFaults(kind + "@" + std::to_string(at) + "*" + std::to_string(repeat)), 1);
        const auto started = std::chrono::steady_clock::now();
        send();
        // Far inside the engine's bound: only the faulty frame goes unanswered.
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        kb.Sim().ClearFaults();
        if (kb.Link().KeyboardCount() == 0) kb.Sim().Attach(true);
        kb.Clock().Clear();
    }

    // Frames of a good run of `send`.
    std::uint32_t FramesOf(const std::function<void()>& send) {
        const std::uint32_t before = kb.Sim().FrameCount();
        send();
        return kb.Sim().FrameCount() - before;
    }

    test::SimulatedKeyboard kb;
    test::RecordingPrompt prompt;
    std::size_t capacity = 0;
};

// The frames where the parts of a download of `macroFrames` image frames and `matrixCount`
// matrices begin and end: BeginConfig, the first, a middle and the last macro frame, the first
// frame of each matrix, the last matrix frame and EndConfig.
std::vector<std::uint32_t> PartBoundaries(std::uint32_t macroFrames, std::uint32_t matrixCount) {
    std::vector<std::uint32_t> at{1, 2, 1 + (macroFrames + 1) / 2, 1 + macroFrames};
    for (std::uint32_t m = 0; m < matrixCount; ++m) at.push_back(2 + macroFrames + 7 * m);
    at.push_back(1 + macroFrames + 7 * matrixCount);
    at.push_back(2 + macroFrames + 7 * matrixCount);
    std::sort(at.begin(), at.end());
    at.erase(std::unique(at.begin(), at.end()), at.end());
    return at;
}

// --- A full download, every frame ------------------------------------------------------------

class DownloadFaultSweep : public FaultSweep {
protected:
    void SetUp() override {
        FaultSweep::SetUp();
        if (HasFatalFailure()) return;
        {
            auto lock = working.Lock();
            working.Content() = test::KeyboardHeldContent();
            FillMacroMemory(working.Content(), capacity);
        }
        ASSERT_TRUE(CreateDefaultFile(workingFile));
        ASSERT_TRUE(WriteStoreToWorkingFile(working, workingFile));

        frames = FramesOf([this] { ASSERT_TRUE(Download().Succeeded()); });
        intended = Read();
        fileBytes = ReadWholeFile(workingFile).value_or(std::vector<std::uint8_t>{});
        auto lock = working.Lock();
        workingContent = working.Content();
        imageBytes = MacroImageSizes(workingContent.macros).withNames;
    }

    DownloadResult Download() {
        DownloadResult r;
        CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}, &r);
        return r;
    }

    // The keyboard back to something else than the intended content.
    Memory Scramble() {
        const Memory other{std::vector<std::uint8_t>(capacity, 0x5A), std::vector<std::uint8_t>(kMatrices, 0)};
        Restore(other);
        return other;
    }

    // What a failed download says it took is on the keyboard; what it says it did not start is
    // as it was.
    void ExpectTheResultIsTrue(const DownloadResult& r, const Memory& before) {
        const Memory now = Read();
        if (!r.writeStarted) {
            EXPECT_EQ(now.macro, before.macro) << "nothing went out";
            EXPECT_EQ(now.matrices, before.matrices) << "nothing went out";
            return;
        }
        if (r.macrosWritten) {
            EXPECT_TRUE(std::equal(intended.macro.begin(), intended.macro.begin() + static_cast<long>(imageBytes),
                                   now.macro.begin()));
        }
        for (int p : r.profilesWritten) EXPECT_EQ(now.Matrix(p), intended.Matrix(p)) << "profile " << p + 1;
        // The matrix that failed may be half written; those after it were never begun.
        const std::size_t begun = r.macrosWritten ? r.profilesWritten.size() + 1 : 0;
        for (std::size_t i = begun; i < r.profiles.size(); ++i) {
            EXPECT_EQ(now.Matrix(r.profiles[i]), before.Matrix(r.profiles[i])) << "profile " << r.profiles[i] + 1;
        }
    }

    // Puts `kind` (with `repeat`, the fault list's "*COUNT") on every frame of the download in
    // turn; after each faulty download the fault is cleared and a second one must leave the
    // keyboard exactly as intended.
    void Sweep(const std::string& kind, std::uint32_t repeat) {
        for (std::uint32_t at = 1; at <= frames; ++at) {
            SCOPED_TRACE(kind + " at frame " + std::to_string(at));
            const Memory before = Scramble();
            DownloadResult r;
            WithFault(kind, at, repeat, [&] { r = Download(); });
            ASSERT_FALSE(r.Succeeded());
            ExpectTheResultIsTrue(r, before);
            {
                auto lock = working.Lock();
                ASSERT_TRUE(working.Content() == workingContent);
            }
            ASSERT_EQ(ReadWholeFile(workingFile).value_or(std::vector<std::uint8_t>{}), fileBytes);
            ASSERT_TRUE(Download().Succeeded());
            ExpectHolds(intended, imageBytes);
            if (HasFailure()) return;
        }
    }

    ProfileStore working;
    ProfileStore applied;
    std::filesystem::path workingFile = kb.StateFile().parent_path() / "$Profile0";
    std::uint32_t frames = 0;
    std::size_t imageBytes = 0;
    Memory intended;
    std::vector<std::uint8_t> fileBytes;
    ProfileContent workingContent;
};

TEST_F(DownloadFaultSweep, TheDownloadFillsTheMacroMemory) {
    // BeginConfig, 583 macro frames, 21 key-matrix frames, EndConfig.
    EXPECT_EQ(frames, 1u + (capacity + 55) / 56 + 21u + 1u);
    EXPECT_GE(imageBytes + 4, capacity);
}

// Three in a row, so the engine's retries cannot save the frame.
TEST_F(DownloadFaultSweep, NoAnswer) { Sweep("no-answer", 3); }
TEST_F(DownloadFaultSweep, WrongCommandByte) { Sweep("wrong-command", 3); }
TEST_F(DownloadFaultSweep, StatusFF) { Sweep("status-ff", 3); }
TEST_F(DownloadFaultSweep, StatusFE) { Sweep("status-fe", 3); }
TEST_F(DownloadFaultSweep, Disconnect) { Sweep("disconnect", 1); }

// --- An import of three profiles in the window, rerun with Apply -----------------------------

class NoWindow : public ProfileHost {
public:
    bool CompositeEditorOpen() const override { return false; }
    bool ProfileManagerOpen() const override { return false; }
    bool HasUnappliedChanges() const override { return applyEnabled; }
    void RunMainApply() override {}
    void SetMainApplyEnabled(bool enabled) override { applyEnabled = enabled; }
    void TickProfileManagerRow(int) override {}
    void RefreshKeyButtons() override {}
    void SetProfileCaption(const std::string&, const std::string&) override {}
    bool applyEnabled = false;
};

// The start of a text with one %s field, up to the field.
std::string Lead(TextId id) {
    const std::string& t = Text(id);
    return t.substr(0, t.find("%s"));
}

class ImportFaultSweep : public FaultSweep {
protected:
    void SetUp() override {
        FaultSweep::SetUp();
        if (HasFatalFailure()) return;
        // The keyboard and the window hold something else than the file, with the same macros
        // in the same order: the window's Apply then sends only the active profile by itself.
        ProfileContent old = test::KeyboardHeldContentAsReadBack();
        for (int p = 0; p < 3; ++p) old.Record(p, 0x1E) = {AssignDisabled, 0, 0, 0, 0};
        {
            auto lock = working.Lock();
            working.Content() = old;
        }
        std::filesystem::create_directories(env.workingFile.parent_path());
        ASSERT_TRUE(WriteStoreToFile(working, env.workingFile));
        ProfileStore scratch;
        ASSERT_TRUE(CommitWorkingToApplied(true, working, scratch, Context()));
        ASSERT_EQ(kb.Commands().SetActiveProfile(1), device::kSuccess);
        before = Read();
        oldFile = *ReadWholeFile(env.workingFile);
        {
            auto lock = working.Lock();
            oldContent = working.Content();
        }

        ProfileContent imported = test::KeyboardHeldContentAsReadBack();
        ASSERT_TRUE(WriteFileAtomically(importFile, SerializeProfileFile(imported)));
        ProfileStore read;
        ASSERT_TRUE(ReadFileIntoStore(importFile, read));
        {
            auto lock = read.Lock();
            importedContent = read.Content();
        }
        frames = FramesOf([this] { ASSERT_TRUE(ops.ImportFile(importFile)); });
        intended = Read();
        imageBytes = MacroImageSizes(importedContent.macros).withNames;
        for (int p = 0; p < 3; ++p) ASSERT_NE(intended.Matrix(p), before.Matrix(p)) << "the import changes every profile";
    }

    DownloadContext Context() { return {kb.Commands(), capacity, prompt}; }

    // The keyboard, the window and the working file as before the import.
    void StartOver() {
        Restore(before);
        std::filesystem::remove(env.workingFile);
        ASSERT_TRUE(WriteFileAtomically(env.workingFile, oldFile));
        auto lock = working.Lock();
        working.Content() = oldContent;
        auto appliedLock = applied.Lock();
        applied.Content() = ProfileContent{};
        window.applyEnabled = false;
        prompt.messages.clear();
    }

    void Sweep(const std::string& kind, std::uint32_t repeat) {
        const std::uint32_t macroFrames = frames - 2 - 21;
        for (const std::uint32_t at : PartBoundaries(macroFrames, 3)) {
            SCOPED_TRACE(kind + " at frame " + std::to_string(at));
            StartOver();
            bool imported = true;
            WithFault(kind, at, repeat, [&] { imported = ops.ImportFile(importFile); });
            ASSERT_FALSE(imported);

            // The window shows the import with Apply enabled, the working file holds it, and the
            // user is told whether the keyboard took part of it.
            ASSERT_EQ(prompt.messages.size(), 1u);
            if (at == 1) {
                EXPECT_EQ(prompt.messages[0], Text(TextId::MAIN_PROMPT_IMPORT_NOT_SENT));
                EXPECT_EQ(Read().matrices, before.matrices);
                EXPECT_EQ(Read().macro, before.macro);
            } else {
                EXPECT_EQ(prompt.messages[0].rfind(Lead(TextId::MAIN_PROMPT_IMPORT_PARTIAL), 0), 0u)
                    << prompt.messages[0];
            }
            EXPECT_TRUE(window.applyEnabled);
            {
                auto lock = working.Lock();
                EXPECT_TRUE(working.Content() == importedContent);
            }
            ProfileStore file;
            ASSERT_TRUE(ReadFileIntoStore(env.workingFile, file));
            {
                auto lock = file.Lock();
                EXPECT_EQ(file.Content().block.tables, importedContent.block.tables);
                EXPECT_EQ(file.Content().macros, importedContent.macros);
            }

            // Apply with the same macros as before asks for the active profile only; what the
            // import still owes goes out with it.
            const ApplyResult rerun = ApplyWorkingStore(false, working, applied, env.workingFile, Context());
            ASSERT_EQ(rerun.outcome, ApplyOutcome::Applied);
            ExpectHolds(intended, imageBytes);
            EXPECT_TRUE(OwedProfiles(applied).empty());
            if (HasFailure()) return;
        }
    }

    test::TempDir dir;
    ProfileEnvironment env = [this] {
        ProfileEnvironment e;
        e.userFolder = dir.path() / "Quorvane";
        e.workingFile = e.userFolder / "$Profile0";
        e.macroCapacity = [this] { return capacity; };
        return e;
    }();
    std::filesystem::path importFile = dir.path() / "three.qvn";
    NoWindow window;
    test::OneAnswerChooser chooser;
    ProfileStore working;
    ProfileStore applied;
    ProfileOperations ops{kb.Commands(), window, prompt, chooser, env, working, applied};
    std::uint32_t frames = 0;
    std::size_t imageBytes = 0;
    Memory before;
    Memory intended;
    std::vector<std::uint8_t> oldFile;
    ProfileContent oldContent;
    ProfileContent importedContent;
};

TEST_F(ImportFaultSweep, StatusFF) { Sweep("status-ff", 3); }
TEST_F(ImportFaultSweep, Disconnect) { Sweep("disconnect", 1); }

// --- A single key change from the command line, rerun ----------------------------------------

class KeyChangeFaultSweep : public FaultSweep {
protected:
    void SetUp() override {
        FaultSweep::SetUp();
        if (HasFatalFailure()) return;
        // The keyboard holds what the tool reads back from it, so that the change sends the
        // macro image the keyboard has.
        ProfileStore working;
        ProfileStore applied;
        {
            auto lock = working.Lock();
            working.Content() = test::KeyboardHeldContentAsReadBack();
        }
        ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}));
        ASSERT_TRUE(WriteStoreToFile(working, workingFile));
        ASSERT_EQ(kb.Commands().SetActiveProfile(2), device::kSuccess);
        before = Read();
        oldFile = *ReadWholeFile(workingFile);

        ASSERT_EQ(Change([this](const std::function<SendOutcome()>& send) { frames = FramesOf([&] { send(); }); }),
                  SendOutcome::Sent);
        intended = Read();
        ASSERT_NE(intended.Matrix(2), before.Matrix(2));
        ASSERT_EQ(intended.Matrix(0), before.Matrix(0));
        const auto read = ReadKeyboardContents(kb.Commands(), workingFile, nullptr);
        ASSERT_TRUE(read.has_value());
        imageBytes = MacroImageSizes(read->content.macros).withNames;
    }

    // What `quorvanectl key` does: read the keyboard, change one key of the active profile, send.
    // `around`, when given, runs the send (between the read and the send a fault is put in).
    SendOutcome Change(const std::function<void(const std::function<SendOutcome()>&)>& around = {}) {
        const auto read = ReadKeyboardContents(kb.Commands(), workingFile, nullptr);
        EXPECT_TRUE(read.has_value()) << "the keyboard can be read after any fault";
        if (!read) return SendOutcome::Failed;
        ProfileContent content = read->content;
        const int slot = KeyCodeToSlot(0x1E);
        content.Assign(read->activeProfile, slot, AssignmentRecord(slot, AssignSingleKey, 0x02C));
        const auto send = [&] { return SendKeyboardContents(*read, content, kb.Commands(), prompt, workingFile); };
        if (!around) return send();
        SendOutcome out = SendOutcome::Sent;
        around([&] { return out = send(); });
        return out;
    }

    void Sweep(const std::string& kind, std::uint32_t repeat) {
        const std::uint32_t macroFrames = frames - 2 - 7;
        for (const std::uint32_t at : PartBoundaries(macroFrames, 1)) {
            SCOPED_TRACE(kind + " at frame " + std::to_string(at));
            Restore(before);
            ASSERT_TRUE(WriteFileAtomically(workingFile, oldFile));
            prompt.messages.clear();
            // The fault counts from the send: the read before it goes through.
            const SendOutcome out = Change([&](const std::function<SendOutcome()>& send) {
                WithFault(kind, at, repeat, [&] { send(); });
            });
            ASSERT_EQ(out, SendOutcome::Failed);
            ASSERT_EQ(prompt.messages.size(), 1u);
            if (at == 1) {
                EXPECT_EQ(prompt.messages[0], Text(TextId::PROFILE_SEND_NOT_TAKEN));
            } else {
                EXPECT_EQ(prompt.messages[0].rfind(Lead(TextId::PROFILE_SEND_PARTIAL), 0), 0u) << prompt.messages[0];
            }
            EXPECT_EQ(Read().Matrix(0), before.Matrix(0)) << "a key change writes the active profile only";
            EXPECT_EQ(Read().Matrix(1), before.Matrix(1));

            // The command again: it reads what the keyboard holds now and sends the change.
            // Nothing left to send when the keyboard took the changed key before it stopped.
            const SendOutcome again = Change();
            EXPECT_TRUE(again == SendOutcome::Sent || again == SendOutcome::NoChange) << static_cast<int>(again);
            ExpectHolds(intended, imageBytes);
            if (HasFailure()) return;
        }
    }

    std::filesystem::path workingFile = kb.StateFile().parent_path() / "$Profile0";
    std::uint32_t frames = 0;
    std::size_t imageBytes = 0;
    Memory before;
    Memory intended;
    std::vector<std::uint8_t> oldFile;
};

TEST_F(KeyChangeFaultSweep, StatusFF) { Sweep("status-ff", 3); }
TEST_F(KeyChangeFaultSweep, Disconnect) { Sweep("disconnect", 1); }

}  // namespace
}  // namespace qv
