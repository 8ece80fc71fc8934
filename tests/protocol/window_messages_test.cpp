// The window messages another process sends: a running window of this version and a newer
// quorvanectl (or second start) must still understand each other, so the bytes are pinned.
#include "protocol/window_messages.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "platform/instance_channel.h"

namespace qv::protocol {
namespace {

using platform::EncodeInstanceRequest;

TEST(WindowMessages, InstanceRequestsKeepTheirBytesOnTheChannel) {
    EXPECT_EQ(EncodeInstanceRequest({kMsgInstanceKill, kInstanceKillTag}),
              (std::array<std::uint8_t, 8>{0x4B, 0x4D, 0, 0, 0x4B, 0x49, 0x4C, 0x4C}));
    EXPECT_EQ(EncodeInstanceRequest({kMsgInstanceOpen, kInstanceOpenTag}),
              (std::array<std::uint8_t, 8>{0x50, 0x53, 0, 0, 0x4E, 0x45, 0x50, 0x4F}));
    EXPECT_EQ(EncodeInstanceRequest({kMsgAssignmentsChanged, kAssignmentsChangedTag}),
              (std::array<std::uint8_t, 8>{0x43, 0x4B, 0, 0, 0x53, 0x59, 0x45, 0x4B}));
}

TEST(WindowMessages, EachMessageHasANumberOfItsOwn) {
    // One window procedure dispatches them all: a shared number would run the wrong handler.
    const std::set<std::uint32_t> numbers{kMsgInstanceKill, kMsgInstanceOpen, kMsgAssignmentsChanged,
                                          kMsgDeferredInit, kMsgProfileReload, kMsgDeviceGone,
                                          kMsgStatusChanged, kMsgTimeChange};
    EXPECT_EQ(numbers.size(), 8u);
}

}  // namespace
}  // namespace qv::protocol
