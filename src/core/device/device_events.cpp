#include "core/device/device_events.h"

namespace qv::device {

DeviceEvents::DeviceEvents(DeviceLink& link, MainWindowLink& window)
    : link_(link), window_(window), presence_(link.Commands(), window), codes_(link.Listener(), window) {}

DeviceEvents::~DeviceEvents() {
    // No more events into the handlers below once they are gone; running workers finish their
    // exchanges before the listener stops delivering answers.
    presence_.RequestStop();
    presence_.WaitForWorkers();
    link_.Listener().Stop();
    codes_.WaitForIconThreads();
}

void DeviceEvents::Start() {
    link_.Listener().SetConsumerHandler([this](std::uint16_t code) { codes_.Handle(code); });
    link_.Listener().SetPresenceHandler([this](int count) { presence_.Launch(count); });
    link_.Start();
    const int count = link_.KeyboardCount();
    if (count == 0) window_.SetAutoOpenFlag(true);
    presence_.Launch(count);
}

}  // namespace qv::device
