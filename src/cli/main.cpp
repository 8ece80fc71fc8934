// quorvanectl: the keyboard from a shell.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/window_notice.h"
#include "protocol/window_messages.h"
#include "platform/keyboard_write_lock.h"
#include "platform/simulate_setting.h"
#include "platform/user_folders.h"

int main(int argc, char* argv[]) {
    using namespace qv::cli;
    // Refused before anything else: the command would otherwise fail later with a vaguer
    // reason, or worse, change a keyboard the user did not mean.
    if (qv::platform::SimulateSettingFromEnvironment() == qv::platform::SimulateSetting::Invalid) {
        const char* value = std::getenv(qv::platform::kSimulateVariable);
        std::fprintf(stderr, "quorvanectl: %s\n", qv::platform::InvalidSimulateMessage(value).c_str());
        return kExitUsage;
    }
    Environment env;
    env.outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    env.programFolder = qv::platform::ExecutablePath(argv[0]).parent_path();
    env.documentsFolder = qv::platform::DocumentsFolder();
    const auto folder = env.programFolder;
    env.openKeyboard = [folder](std::string* error) { return OpenKeyboard(folder, error); };
    env.openService = [folder](std::string* error) { return OpenDeviceService(folder, error); };
    env.notifyWindow = [] { NotifyRunningWindow(qv::protocol::kAssignmentsChangedTag); };
    env.notifyWindowSettings = [] { NotifyRunningWindow(qv::protocol::kSettingsChangedTag); };
    env.lockKeyboard = [](std::string* error) {
        auto lock = std::make_unique<qv::platform::KeyboardWriteLock>();
        if (!lock->Take(qv::platform::KeyboardLockName(), qv::platform::kKeyboardWriteLockWait, error)) return decltype(lock)();
        return lock;
    };
    return RunQuorvanectl(argc, argv, std::move(env));
}
