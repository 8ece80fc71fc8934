#pragma once
// quorvanectl's commands run in this process on the simulated keyboard of the test (the real
// libHidServ.so), so the keyboard's frame log and memory can be checked after each command.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "core/keyboard/profile_store.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv::test {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

class CliOnKeyboard : public ::testing::Test {
protected:
    void TearDown() override;

    // Runs one command line, words split at spaces; `Words` for words holding spaces.
    CliRun Ctl(const std::string& line);
    CliRun Words(std::vector<std::string> words);

    // What the keyboard holds, read back as the window reads it on arrival.
    ProfileContent KeyboardContent();
    // The working profile file in this test's documents folder.
    ProfileContent WorkingFile();
    std::filesystem::path WorkingFilePath() const;
    // Frames the keyboard received since the last call, by command byte.
    std::vector<std::uint8_t> TakeCommands();
    static int Count(const std::vector<std::uint8_t>& commands, std::uint8_t command);
    static bool Writes(const std::vector<std::uint8_t>& commands);

    // The keyboard's write lock the commands take: this name in this test's own folder.
    static constexpr const char* kLockName = "keyboard-write.lock";
    std::filesystem::path LockFolder() const { return documents.path(); }

    SimulatedKeyboard kb;
    TempDir documents;
    int notices = 0;
    int settingsNotices = 0;
    // How long a command waits for the write lock.
    std::chrono::milliseconds lockWait{10000};
    // How many times a command took it.
    int locksTaken = 0;
    // Whether the commands see standard output as a terminal.
    bool outputIsTerminal = false;
};

}  // namespace qv::test
