#pragma once
// Starting a firmware updater as its own process. On this platform an updater is any file the
// user may execute.

#include "core/profile/firmware_update.h"

namespace qv::ui {

class ProcessUpdaterLauncher : public UpdaterLauncher {
public:
    bool CanStart(const std::filesystem::path& file) const override;
    bool Start(const std::filesystem::path& file, const std::filesystem::path& workingFolder) override;
};

}  // namespace qv::ui
