#include "core/device/presence_worker.h"

#include "core/app/text_table.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_matrix_codec.h"

namespace qv::device {

PresenceWorker::PresenceWorker(CommandSet& commands, MainWindowLink& window)
    : commands_(commands), window_(window) {}

PresenceWorker::~PresenceWorker() {
    stopping_.store(true);
    workers_.JoinAll();
}

void PresenceWorker::Launch(int count) {
    workers_.Spawn([this, count] { Run(count); });
}

KeyMatrix PresenceWorker::FactoryLayout() const { return DefaultKeyMatrix(); }

void PresenceWorker::Run(int count) {
    std::lock_guard serial(runMutex_);
    if (stopping_.load() || count == lastKnownCount_.load()) return;

    if (count == 0) {
        commands_.ForgetActiveProfile();
        window_.SendWindowMessage(kMsgDeviceGone, kDeviceGoneTag);
        window_.HideWindow();
    } else {
        KeyMatrix layout{};
        // The process-wide factory layout is what the matrix encoding and decoding use.
        if (commands_.ReadDefaultKeyMatrix(layout) == kSuccess) {
            SetDefaultKeyMatrix(layout);
        } else {
            window_.ShowMessage(Text(TextId::MAIN_DEFAULT_MATRIX_PROMPT));
        }
        GlobalBlock block;
        if (commands_.ReadGlobalBlock(block) == kSuccess) macroCapacity_.store(block.MacroCapacityBytes());
        window_.SendWindowMessage(kMsgProfileReload, kProfileReloadTag);
    }

    while (!window_.WaitUntilReady(stopPoll)) {
        if (stopping_.load()) return;
    }

    window_.SetTrayState(kTrayNormal, count != 0 ? kIconKeyboard : kIconNoKeyboard);
    lastKnownCount_.store(count);
    if (!window_.AutoOpenFlag()) {
        if (count != 0) window_.PostWindowMessage(kMsgInstanceOpen, kInstanceOpenTag);
        window_.SetAutoOpenFlag(true);
    }
}

}  // namespace qv::device
