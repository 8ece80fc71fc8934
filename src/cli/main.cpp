// quorvanectl: the keyboard from a shell.
#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/window_notice.h"
#include "platform/user_folders.h"

int main(int argc, char* argv[]) {
    using namespace qv::cli;
    Environment env;
    env.programFolder = qv::platform::ExecutablePath(argv[0]).parent_path();
    env.documentsFolder = qv::platform::DocumentsFolder();
    const auto folder = env.programFolder;
    env.openKeyboard = [folder](std::string* error) { return OpenKeyboard(folder, error); };
    env.openService = [folder](std::string* error) { return OpenDeviceService(folder, error); };
    env.notifyWindow = [] { NotifyRunningWindow(); };
    return RunQuorvanectl(argc, argv, std::move(env));
}
