#include "cli_on_keyboard.h"

#include <algorithm>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_rebuild.h"
#include "platform/keyboard_write_lock.h"
#include "protocol/report_frame.h"

namespace qv::test {

void CliOnKeyboard::TearDown() {
    ResetTextTable();
    ResetDefaultKeyMatrix();
}

CliRun CliOnKeyboard::Ctl(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return Words(std::move(words));
}

CliRun CliOnKeyboard::Words(std::vector<std::string> words) {
    std::ostringstream out;
    std::ostringstream err;
    cli::Environment env;
    env.out = &out;
    env.err = &err;
    env.programFolder = QV_BIN_DIR;
    env.documentsFolder = documents.path();
    env.outputIsTerminal = outputIsTerminal;
    env.openService = [this](std::string*) { return std::make_unique<cli::DeviceSession>(kb.Link()); };
    env.openKeyboard = [this](std::string* error) {
        return cli::RequireKeyboard(std::make_unique<cli::DeviceSession>(kb.Link()), QV_BIN_DIR, error);
    };
    env.notifyWindow = [this] { ++notices; };
    env.notifyWindowSettings = [this] { ++settingsNotices; };
    env.lockKeyboard = [this](std::string* error) {
        auto lock = std::make_unique<platform::KeyboardWriteLock>();
        if (!lock->Take(kLockName, lockWait, error, LockFolder())) return std::unique_ptr<platform::KeyboardWriteLock>();
        ++locksTaken;
        return lock;
    };
    words.insert(words.begin(), "quorvanectl");
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    CliRun r;
    r.code = cli::RunQuorvanectl(static_cast<int>(argv.size()), argv.data(), std::move(env));
    r.out = out.str();
    r.err = err.str();
    return r;
}

ProfileContent CliOnKeyboard::KeyboardContent() {
    const auto dump = ReadKeyboardDump(kb.Commands());
    EXPECT_TRUE(dump);
    return dump ? BuildContentFromDump(*dump, DefaultKeyMatrix()) : ProfileContent{};
}

std::filesystem::path CliOnKeyboard::WorkingFilePath() const {
    return documents.path() / "Quorvane" / "$Profile0";
}

ProfileContent CliOnKeyboard::WorkingFile() {
    ProfileStore store;
    EXPECT_TRUE(ReadFileIntoStore(WorkingFilePath(), store));
    auto lock = store.Lock();
    return store.Content();
}

std::vector<std::uint8_t> CliOnKeyboard::TakeCommands() {
    std::vector<std::uint8_t> commands;
    for (const auto& frame : kb.Sim().Frames()) commands.push_back(frame[device::frame::kCommand]);
    kb.Sim().ClearFrameLog();
    return commands;
}

int CliOnKeyboard::Count(const std::vector<std::uint8_t>& commands, std::uint8_t command) {
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
}

bool CliOnKeyboard::Writes(const std::vector<std::uint8_t>& commands) {
    using namespace device::frame;
    for (const std::uint8_t c : {kBeginConfig, kWriteKeyMatrix, kWriteMacroMemory, kWriteGlobalBlock,
                                 kWriteSettingsMemory, kWriteKeyColours}) {
        if (Count(commands, c) > 0) return true;
    }
    return false;
}

}  // namespace qv::test
