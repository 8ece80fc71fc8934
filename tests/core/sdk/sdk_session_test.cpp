// The SDK server's rules without sockets: the packet cutter's bounds, the session's handling of
// colours and modes against a device of the test's own, and the server's options.
#include <gtest/gtest.h>

#include "core/sdk/keyboard_controller.h"
#include "core/sdk/packet_parser.h"
#include "core/sdk/sdk_server_options.h"
#include "core/sdk/sdk_session.h"
#include "support/temp_dir.h"

namespace qv::test {
namespace {

using sdk::EncodePacket;

class FourLeds final : public sdk::SdkDevice {
public:
    bool Present() const override { return present; }
    sdk::ControllerData Describe() const override {
        sdk::ControllerData c;
        c.leds.resize(4);
        c.colours = colours;
        return c;
    }
    std::size_t LedCount() const override { return 4; }
    void SetLedColours(std::size_t first, std::span<const std::uint32_t> in) override {
        ASSERT_LE(first + in.size(), 4u);
        for (std::size_t i = 0; i < in.size(); ++i) colours[first + i] = in[i];
        ++updates;
    }
    bool UpdateMode(std::size_t index, const sdk::ModeData& m) override {
        modes.emplace_back(index, m);
        return true;
    }
    void SetCustomMode() override { ++custom; }

    bool present = true;
    std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(4, 0);
    std::vector<std::pair<std::size_t, sdk::ModeData>> modes;
    int updates = 0;
    int custom = 0;
};

std::vector<std::uint8_t> Leds(std::uint16_t count, std::uint32_t colour) {
    sdk::WireWriter w;
    w.U32(0);
    w.U16(count);
    for (std::uint16_t i = 0; i < count; ++i) w.U32(colour + i);
    return EncodePacket(0, sdk::packet::kUpdateLeds, w.Data());
}

TEST(SdkPacketParser, CutsPacketsFromAnyPiecesAndRefusesAnOversizedBodyUnread) {
    const auto a = EncodePacket(3, 1050, std::vector<std::uint8_t>{1, 2, 3});
    const auto b = EncodePacket(0, 0);
    std::vector<std::uint8_t> stream = a;
    stream.insert(stream.end(), b.begin(), b.end());
    sdk::PacketParser p;
    std::vector<sdk::Packet> got;
    for (std::uint8_t byte : stream) {
        ASSERT_EQ(p.Feed(std::span(&byte, 1)), 1u);
        if (auto packet = p.Take()) got.push_back(std::move(*packet));
    }
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].header.deviceId, 3u);
    EXPECT_EQ(got[0].header.id, 1050u);
    EXPECT_EQ(got[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(got[1].data.empty());
    EXPECT_FALSE(p.MidPacket());

    // A header announcing 4 GiB: refused at the header, nothing of the body is held.
    sdk::PacketParser big;
    auto header = EncodePacket(0, 1050);
    header[12] = header[13] = header[14] = header[15] = 0xFF;
    header.resize(header.size() + 1000, 0);
    big.Feed(header);
    EXPECT_EQ(big.Error(), sdk::ParseError::TooLong);
    EXPECT_LE(big.Buffered(), sdk::kHeaderSize);
    // A wrong magic is known at its first byte.
    sdk::PacketParser wrong;
    const std::uint8_t x = 'X';
    wrong.Feed(std::span(&x, 1));
    EXPECT_EQ(wrong.Error(), sdk::ParseError::BadMagic);
}

TEST(SdkSession, ColoursBeyondTheLedsAreReadOverAndBadIndicesIgnored) {
    FourLeds device;
    sdk::SdkSession s(device);
    std::vector<std::uint8_t> out;
    // Six colours for four LEDs: the four are set, the connection stays.
    EXPECT_TRUE(s.Receive(Leds(6, 0x10), out));
    EXPECT_EQ(device.colours, (std::vector<std::uint32_t>{0x10, 0x11, 0x12, 0x13}));
    sdk::WireWriter single;
    single.I32(-1);
    single.U32(0xAA);
    EXPECT_TRUE(s.Receive(EncodePacket(0, sdk::packet::kUpdateSingleLed, single.Data()), out));
    sdk::WireWriter far;
    far.I32(4);
    far.U32(0xAA);
    EXPECT_TRUE(s.Receive(EncodePacket(0, sdk::packet::kUpdateSingleLed, far.Data()), out));
    sdk::WireWriter otherZone;
    otherZone.U32(0);
    otherZone.U32(1);
    otherZone.U16(1);
    otherZone.U32(0xBB);
    EXPECT_TRUE(s.Receive(EncodePacket(0, sdk::packet::kUpdateZoneLeds, otherZone.Data()), out));
    EXPECT_EQ(device.updates, 1);
    EXPECT_TRUE(out.empty());  // none of these is answered

    // Without the keyboard there is no controller 0.
    device.present = false;
    EXPECT_FALSE(s.Receive(Leds(1, 0), out));
    EXPECT_EQ(s.Reason(), sdk::CloseReason::UnknownController);
}

TEST(SdkSession, ModeBlocksAreReadInTheNegotiatedVersion) {
    FourLeds device;
    sdk::SdkSession s(device);
    std::vector<std::uint8_t> out;
    sdk::ModeData m;
    m.name = "Breathing";
    m.value = 5;
    m.brightness = 3;  // not carried before version 3
    m.speed = 2;
    m.colours = {0x00FF00};
    const auto send = [&](std::uint32_t version) {
        sdk::WireWriter w;
        w.U32(0);
        w.I32(4);
        sdk::EncodeMode(w, m, version);
        return s.Receive(EncodePacket(0, sdk::packet::kUpdateMode, w.Data()), out);
    };
    ASSERT_TRUE(send(0));
    sdk::WireWriter v;
    v.U32(3);
    ASSERT_TRUE(s.Receive(EncodePacket(0, sdk::packet::kRequestProtocolVersion, v.Data()), out));
    EXPECT_EQ(s.Version(), 3u);
    ASSERT_TRUE(send(3));
    ASSERT_EQ(device.modes.size(), 2u);
    EXPECT_EQ(device.modes[0].first, 4u);
    EXPECT_EQ(device.modes[0].second.brightness, 0u);
    EXPECT_EQ(device.modes[0].second.speed, 2u);
    EXPECT_EQ(device.modes[1].second, m);
    // A version 3 client sending a version 0 block is short by the brightness fields.
    EXPECT_FALSE(send(0));
    EXPECT_EQ(s.Reason(), sdk::CloseReason::Truncated);
}

TEST(SdkKeyboardModes, SpeedRunsFromSlowToFastAndColoursFollowTheEffect) {
    sdk::EffectState state{5, 4, 1, 0, false, 0x0000FF, 2};
    const sdk::ModeData breathing = sdk::ModeForEffect(5, "Breathing", state);
    EXPECT_EQ(breathing.speed, 1u);  // device units: 0 is the fastest
    EXPECT_EQ(breathing.colourMode, sdk::colour_mode::kModeSpecific);
    EXPECT_EQ(breathing.colours, (std::vector<std::uint32_t>{0x0000FF}));
    state.colourful = true;
    EXPECT_EQ(sdk::ModeForEffect(5, "", state).colourMode, sdk::colour_mode::kRandom);
    EXPECT_EQ(sdk::ModeForEffect(17, "", state).colours, (std::vector<std::uint32_t>{0x00FF00}));  // green
    EXPECT_EQ(sdk::ModeForEffect(18, "", state).flags & (sdk::mode_flag::kHasDirectionLR | sdk::mode_flag::kHasDirectionUD), 0u);
    EXPECT_EQ(sdk::NearestColourChoice(0x00E0F0), 1);  // yellowish: yellow
    EXPECT_EQ(sdk::NearestColourChoice(0xC00010), 3);  // blue
}

TEST(SdkServerOptions, CommandLineTurnsItOnForOneRunAndABadPortChangesNothing) {
    TempDir dir;
    const SettingsStore store(dir.path() / "s.ini");
    sdk::SdkServerOptions o = sdk::ReadSdkServerOptions(store);
    EXPECT_FALSE(o.enabled);
    EXPECT_EQ(o.address, "127.0.0.1");
    EXPECT_EQ(o.port, 6742);
    std::string error;
    sdk::ApplySdkServerArguments({"quorvane", "--sdk-server=70000"}, o, &error);
    EXPECT_FALSE(o.enabled);
    EXPECT_NE(error.find("70000"), std::string::npos);
    sdk::ApplySdkServerArguments({"quorvane", "--sdk-server=7000"}, o, nullptr);
    EXPECT_TRUE(o.enabled);
    EXPECT_EQ(o.port, 7000);
    EXPECT_FALSE(sdk::ReadSdkServerOptions(store).enabled);  // one run only

    ASSERT_TRUE(sdk::WriteSdkServerEnabled(store, true));
    ASSERT_TRUE(store.WriteValue("SdkServerPort", "x1"));
    o = sdk::ReadSdkServerOptions(store);
    EXPECT_TRUE(o.enabled);
    EXPECT_EQ(o.port, 6742);
    EXPECT_EQ(sdk::ParsePort("0"), std::nullopt);
    EXPECT_EQ(sdk::ParsePort("+80"), std::nullopt);
}

}  // namespace
}  // namespace qv::test
