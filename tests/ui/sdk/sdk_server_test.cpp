// The SDK server in the tray program over loopback: a protocol client of the test's own against
// the real window over the simulated keyboard, checked in what the keyboard holds and what the
// window shows.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "core/app/settings.h"
#include "core/lighting/panel_decisions.h"
#include "core/sdk/sdk_server_options.h"
#include "hidserv/sim_control.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/popup_menus.h"
#include "ui/sdk/sdk_service.h"
#include "ui/sdk/sdk_test_client.h"

namespace qv::test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kUpdateLeds = 1050;
constexpr std::uint32_t kUpdateZoneLeds = 1051;
constexpr std::uint32_t kUpdateSingleLed = 1052;
constexpr std::uint32_t kSetCustomMode = 1100;
constexpr std::uint32_t kUpdateMode = 1101;
constexpr std::uint32_t kDeviceListUpdated = 100;
constexpr std::size_t kLeds = 106;  // 104 key buttons, Fn, the G keys' shared slot

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SdkServerTest : public SimulatedWindowFixture {
protected:
    void TearDown() override {
        service_.reset();
        SimulatedWindowFixture::TearDown();
    }

    // The window over an attached keyboard, opened, with the server on a free loopback port.
    void StartServer(bool listen = true) {
        SimulatedWindowFixture::Start(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened_->count() == 1; }, 3000));
        sdk::SdkServerOptions options;
        options.enabled = listen;
        options.port = 0;
        service_ = std::make_unique<ui::SdkService>(*window_, options, Store());
        if (listen) {
            ASSERT_TRUE(service_->Server().Listening()) << service_->LastError().toStdString();
        }
        port_ = service_->Server().Port();
    }
    SettingsStore Store() const { return SettingsStore(home_.path() / "config" / "sdk.ini"); }

    // Runs the client's part on its own thread while this one runs the window and the server.
    template <typename F>
    auto Client(F part) {
        auto done = std::async(std::launch::async, std::move(part));
        EXPECT_TRUE(QTest::qWaitFor([&] { return done.wait_for(0s) == std::future_status::ready; }, 30000));
        return done.get();
    }
    lighting::LightingPanel& Panel() { return window_->Lighting()->Model(); }
    int Profile() { return Panel().ShownProfile(); }
    std::vector<std::uint8_t> KeyColour(int slot) {
        return sim_->Read(QV_SIM_KEY_COLOURS, static_cast<std::uint32_t>(Profile() * 512 + slot * 3), 3);
    }
    std::uint8_t RecordByte(int offset) {
        return sim_->Read(QV_SIM_SETTINGS, static_cast<std::uint32_t>(Profile() * 42 + offset), 1).at(0);
    }
    static std::vector<std::uint8_t> Rgb(std::uint32_t c) {
        return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)};
    }

    std::unique_ptr<ui::SdkService> service_;
    quint16 port_ = 0;
};

TEST_F(SdkServerTest, ServesVersionZeroAndTheHighestFieldByField) {
    StartServer();
    const auto [v0, top, v3, answered] = Client([port = port_] {
        SdkTestClient old, current, middle;
        old.Connect(port);
        current.Connect(port);
        middle.Connect(port);
        // A version 0 client never asks for the version and gets the block without the later fields.
        const auto count = old.ControllerCount();
        auto a = old.Controller(0, 0);
        const auto agreed = current.Negotiate(99);
        auto b = current.Controller(0, 5);
        middle.Negotiate(3);
        auto c = middle.Controller(0, 3);
        return std::make_tuple(a, b, c, std::make_pair(count, agreed));
    });
    EXPECT_EQ(answered.first, 1u);
    EXPECT_EQ(answered.second, 5u);  // the highest served, whatever the client offers
    ASSERT_TRUE(v0 && top && v3);

    for (const ParsedController* c : {&*v0, &*top, &*v3}) {
        EXPECT_EQ(c->bytesLeft, 0u);
        EXPECT_EQ(c->type, 5);  // keyboard
        EXPECT_FALSE(c->name.empty());
        EXPECT_FALSE(c->description.empty());
        EXPECT_NE(c->location.find("0C45:5304"), std::string::npos);
        EXPECT_EQ(c->zoneName, "Keyboard");
        EXPECT_EQ(c->zoneType, 2);  // matrix
        EXPECT_EQ(c->zoneLedsCount, kLeds);
        EXPECT_EQ(c->zoneLedsMin, kLeds);
        EXPECT_EQ(c->zoneLedsMax, kLeds);
        EXPECT_EQ(c->matrixHeight, 6u);
        EXPECT_EQ(c->matrixWidth, 21u);
        ASSERT_EQ(c->ledNames.size(), kLeds);
        EXPECT_EQ(c->colours.size(), kLeds);
        // Every LED stands once in the map, at the matrix index it carries as its value.
        std::vector<int> seen(kLeds, 0);
        for (std::size_t i = 0; i < c->matrix.size(); ++i) {
            if (c->matrix[i] == 0xFFFFFFFFu) continue;
            ASSERT_LT(c->matrix[i], kLeds);
            ++seen[c->matrix[i]];
            EXPECT_EQ(c->ledValues[c->matrix[i]], i);
        }
        EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), static_cast<long>(kLeds));
        EXPECT_EQ(c->ledNames[c->matrix[0]], "Key: Esc");
        EXPECT_EQ(c->ledNames[c->matrix[63]], "Key: Caps Lock");
        EXPECT_EQ(c->ledNames[c->matrix[110]], "Key: Fn");
        EXPECT_EQ(c->matrix[13], 0xFFFFFFFFu);  // no key there
        EXPECT_NE(c->matrix[125], 0xFFFFFFFFu);  // the nine G keys' one slot
    }
    EXPECT_EQ(v0->vendor, "");  // not in version 0
    EXPECT_FALSE(top->vendor.empty());
    EXPECT_EQ(top->segmentCount, 0u);
    EXPECT_EQ(top->ledDisplayNames.size(), kLeds);
    EXPECT_EQ(top->ledDisplayNames[top->matrix[0]], "Esc");

    // Modes: Direct, then the keyboard's effects named as the window names them.
    const auto& names = Panel().View().effectNames;
    ASSERT_EQ(top->modes.size(), names.size());  // effect 20 is Direct, listed once
    EXPECT_EQ(top->modes[0].name, "Direct");
    EXPECT_EQ(top->modes[0].value, 20);
    EXPECT_EQ(top->modes[0].flags & (1u << 5), 1u << 5);  // per-LED colours
    EXPECT_EQ(top->modes[0].colourMode, 1u);
    for (std::size_t i = 1; i < top->modes.size(); ++i) {
        const int position = Panel().Settings().Effects().PositionOf(top->modes[i].value);
        ASSERT_GE(position, 0);
        EXPECT_EQ(top->modes[i].name, names[static_cast<std::size_t>(position)]);
        EXPECT_EQ(v0->modes[i].name, top->modes[i].name);
    }
    const auto mode = [&](int code) {
        for (const auto& m : top->modes)
            if (m.value == code) return m;
        ADD_FAILURE() << code;
        return ParsedMode{};
    };
    // Wave: speed, left/right, brightness, its own colour or random.
    EXPECT_EQ(mode(1).flags, (1u << 0) | (1u << 1) | (1u << 4) | (1u << 6) | (1u << 7));
    EXPECT_EQ(mode(12).flags, (1u << 0) | (1u << 2) | (1u << 4));  // up/down, no colour
    EXPECT_EQ(mode(6).flags & 1u, 0u);                             // static: no speed
    EXPECT_EQ(mode(17).colours.size(), 1u);                         // the four-colour choice
    EXPECT_EQ(mode(5).brightnessMax, 5u);
    EXPECT_EQ(mode(5).speedMin, 5u);  // slowest first: the keyboard counts down to its fastest
    EXPECT_EQ(mode(5).speedMax, 0u);
    // Version 3 has the brightness fields, version 0 not.
    EXPECT_EQ(v3->modes[1].brightnessMax, 5u);
    EXPECT_EQ(v0->modes[1].brightnessMax, 0u);
    EXPECT_EQ(top->modes[static_cast<std::size_t>(top->activeMode)].value, Panel().Settings().State().effect);
}

TEST_F(SdkServerTest, DirectColoursReachTheKeyColourMemory) {
    StartServer();
    std::vector<std::uint32_t> colours(kLeds);
    for (std::size_t i = 0; i < kLeds; ++i) colours[i] = static_cast<std::uint32_t>(i | (2 * i) << 8 | (255 - i) << 16);
    const auto layout = Client([&, port = port_] {
        SdkTestClient c;
        c.Connect(port);
        c.Negotiate(5);
        auto data = c.Controller(0, 5);
        c.Send(0, kSetCustomMode);
        c.UpdateLeds(0, colours);
        return data;
    });
    ASSERT_TRUE(layout);
    // Direct is the per-key effect, and every LED's colour lands at its key's slot.
    EXPECT_TRUE(QTest::qWaitFor([&] { return KeyColour(layout->ledValues[kLeds - 1]) == Rgb(colours[kLeds - 1]); }, 3000));
    EXPECT_EQ(RecordByte(0), 20);
    for (std::size_t i = 0; i < kLeds; ++i) EXPECT_EQ(KeyColour(static_cast<int>(layout->ledValues[i])), Rgb(colours[i])) << i;
    EXPECT_EQ(Panel().Settings().State().effect, 20);

    // One LED, and the zone's LEDs, the same way; the next read shows them.
    const auto after = Client([port = port_] {
        SdkTestClient c;
        c.Connect(port);
        c.Negotiate(5);
        c.Send(0, kUpdateSingleLed, SdkBody().U32(0).U32(0x00ABCDEF).bytes);
        SdkBody zone;
        zone.U32(4 + 4 + 2 + 4).U32(0).U16(1).U32(0x00010203);
        c.Send(0, kUpdateZoneLeds, zone.bytes);
        std::this_thread::sleep_for(300ms);
        return c.Controller(0, 5);
    });
    ASSERT_TRUE(after);
    EXPECT_TRUE(QTest::qWaitFor([&] { return KeyColour(static_cast<int>(layout->ledValues[0])) == Rgb(0x00010203); }, 3000));
    EXPECT_EQ(after->colours[0], 0x00010203u);
    EXPECT_EQ(after->colours[1], colours[1]);
}

TEST_F(SdkServerTest, ModeChangeReachesTheProfileRecordAndTheOpenWindow) {
    StartServer();
    const int position = Panel().Settings().Effects().PositionOf(5);
    ASSERT_GE(position, 0);
    Client([port = port_] {
        SdkTestClient c;
        c.Connect(port);
        c.Negotiate(5);
        auto data = c.Controller(0, 5);
        if (!data) return;
        for (std::size_t i = 0; i < data->modes.size(); ++i) {
            if (data->modes[i].value != 5) continue;
            ParsedMode m = data->modes[i];
            m.brightness = 2;
            m.speed = 3;
            m.colourMode = 2;  // its own colour, not random
            m.colours = {0x0000FF00};
            c.Send(0, kUpdateMode, ModeBody(static_cast<std::int32_t>(i), m, 5));
        }
        c.ControllerCount();  // answered once the change is through
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().Settings().State().effect == 5; }, 3000));
    EXPECT_EQ(qobject_cast<QComboBox*>(window_->Lighting()->Control(lighting::panel_id::kEffectSelector))->currentIndex(),
              position);

    // Another program reads the keyboard's record and finds the change there.
    sim_->Save();
    const std::string d = home_.path().string();
    const std::string command = "cd '" + d + "' && HOME='" + d + "' XDG_CONFIG_HOME='" + d + "/ctl' XDG_RUNTIME_DIR='" + d +
                                "' QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + d + "/keyboard.state' '" QV_BIN_DIR
                                "/quorvanectl' lighting --json >ctl.out 2>ctl.err";
    ASSERT_EQ(std::system(command.c_str()), 0) << Slurp(home_.path() / "ctl.err");
    const auto json = nlohmann::json::parse(Slurp(home_.path() / "ctl.out"));
    EXPECT_EQ(json["effect"], 5);
    EXPECT_EQ(json["brightness"], 2);
    EXPECT_EQ(json["speed"], 5 - 3);  // the slider position
    EXPECT_EQ(json["colourful"], false);
    EXPECT_EQ(json["colour"], "00FF00");
    EXPECT_EQ(RecordByte(1), 2);
    EXPECT_EQ(RecordByte(2), 3);
}

TEST_F(SdkServerTest, StreamedUpdatesAreCoalescedAndTheLatestWins) {
    StartServer();
    sim_->SetLatencyMicroseconds(1000);
    const int flushesBefore = service_->Controller().FlushesWritten();
    constexpr int kPaced = 60;    // one second at 60 per second
    constexpr int kFlood = 2000;  // then as fast as the socket takes them
    const auto slot = Client([port = port_] {
        SdkTestClient c;
        c.Connect(port);
        c.Negotiate(5);
        auto data = c.Controller(0, 5);
        c.Send(0, kSetCustomMode);
        auto next = std::chrono::steady_clock::now();
        for (int k = 1; k <= kPaced; ++k) {
            c.UpdateLeds(0, std::vector<std::uint32_t>(kLeds, static_cast<std::uint32_t>(k)));
            next += 16667us;
            std::this_thread::sleep_until(next);
        }
        for (int k = 1; k <= kFlood; ++k) c.UpdateLeds(0, std::vector<std::uint32_t>(kLeds, static_cast<std::uint32_t>(0x010000 + k)));
        // The server still answers at once after the flood: nothing waits in a queue.
        c.ControllerCount();
        return data ? static_cast<int>(data->ledValues[kLeds - 1]) : -1;
    });
    ASSERT_GE(slot, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return KeyColour(slot) == Rgb(0x010000 + kFlood); }, 5000));
    EXPECT_FALSE(service_->Controller().FlushPending());
    const int flushes = service_->Controller().FlushesWritten() - flushesBefore;
    EXPECT_GT(flushes, 0);
    // Fewer keyboard writes than updates: the flood's updates were folded together.
    EXPECT_LT(flushes, kPaced + kFlood / 2);
}

TEST_F(SdkServerTest, BadInputClosesOnlyThatConnection) {
    StartServer();
    service_->Server().limits.unfinishedPacketMs = 300;
    service_->Server().limits.maxUnsentAnswers = 64 * 1024;
    QSignalSpy dropped(&service_->Server(), &ui::SdkServer::clientDropped);
    const auto results = Client([port = port_] {
        std::vector<std::pair<std::string, bool>> closed;
        SdkTestClient healthy;
        healthy.Connect(port);
        healthy.Negotiate(5);
        const auto bad = [&](const std::string& what, const std::vector<std::uint8_t>& bytes, int wait = 1500) {
            SdkTestClient c;
            c.Connect(port);
            c.Send(bytes);
            closed.emplace_back(what, c.ClosedByServer(wait));
        };
        auto wrongMagic = SdkPacket(0, 0);
        wrongMagic[0] = 'X';
        bad("wrong magic", wrongMagic);
        SdkBody tooLong;
        tooLong.bytes = {'O', 'R', 'G', 'B'};
        tooLong.U32(0).U32(kUpdateLeds).U32(64 * 1024 + 1);
        bad("beyond the limit", tooLong.bytes);
        // Says 106 colours, carries one.
        bad("truncated", SdkPacket(0, kUpdateLeds, SdkBody().U32(10).U16(106).U32(1).bytes));
        bad("unknown controller", SdkPacket(1, 1, SdkBody().U32(5).bytes));
        bad("unknown controller command", SdkPacket(7, kSetCustomMode));
        auto half = SdkPacket(0, 0);
        half.resize(9);
        bad("slow", half);
        // Asks and asks and never reads what it is sent.
        {
            SdkTestClient c;
            c.Connect(port);
            std::vector<std::uint8_t> many;
            for (int i = 0; i < 3000; ++i) {
                auto p = SdkPacket(0, 1, SdkBody().U32(5).bytes);
                many.insert(many.end(), p.begin(), p.end());
            }
            c.Send(many);
            std::this_thread::sleep_for(1s);
            closed.emplace_back("not reading", c.ClosedByServer(3000));
        }
        // What the server does not offer is passed over, the connection stays.
        SdkTestClient odd;
        odd.Connect(port);
        odd.Send(0, 777, {1, 2, 3});
        odd.Send(0, 1000, SdkBody().U32(0).U32(200).bytes);  // RESIZEZONE: the zone is fixed
        closed.emplace_back("unknown command answered", odd.ControllerCount() == 1u);
        closed.emplace_back("healthy still served", healthy.ControllerCount() == 1u);
        return closed;
    });
    for (const auto& [what, ok] : results) EXPECT_TRUE(ok) << what;
    QStringList reasons;
    for (const auto& call : dropped) reasons << call.at(0).toString();
    EXPECT_EQ(reasons.size(), 7) << reasons.join(", ").toStdString();
    EXPECT_TRUE(reasons.contains("answers not read")) << reasons.join(", ").toStdString();
    EXPECT_TRUE(reasons.contains("unfinished packet"));
    // The last clients closed as the thread ended; the server sees that on its next turns.
    EXPECT_TRUE(QTest::qWaitFor([&] { return service_->Server().ClientCount() == 0; }, 3000))
        << service_->Server().ClientCount();
}

TEST_F(SdkServerTest, ClientsAreToldWhenTheKeyboardLeavesAndComesBack) {
    StartServer();
    auto listening = std::async(std::launch::async, [port = port_] {
        SdkTestClient c;
        c.Connect(port);
        c.Negotiate(5);
        std::vector<std::optional<std::uint32_t>> counts;
        for (int round = 0; round < 2; ++round) {
            if (!c.ReceiveId(kDeviceListUpdated, 5000)) return counts;
            counts.push_back(c.ControllerCount());
        }
        return counts;
    });
    QTest::qWait(200);
    sim_->Attach(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Model().KeyboardCount() == 0; }, 3000));
    QTest::qWait(300);
    sim_->Attach(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listening.wait_for(0s) == std::future_status::ready; }, 8000));
    EXPECT_EQ(listening.get(), (std::vector<std::optional<std::uint32_t>>{0u, 1u}));
}

TEST_F(SdkServerTest, PortInUseIsToldOnceAndTheProgramGoesOn) {
    StartServer(false);
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    sdk::SdkServerOptions options;
    options.enabled = true;
    options.port = taken.serverPort();
    service_ = std::make_unique<ui::SdkService>(*window_, options, Store());
    EXPECT_FALSE(service_->Server().Listening());
    EXPECT_TRUE(service_->LastError().contains(QString::number(taken.serverPort())));
    EXPECT_TRUE(window_->Tray().Tooltip().contains(service_->LastError()));
    // The window goes on as before.
    EXPECT_FALSE(window_->isHidden());
}

TEST_F(SdkServerTest, TrayEntryTurnsTheServerOnAndIsKept) {
    StartServer(false);
    QMenu menu;
    ui::FillMenu(menu, {{1, "Open"}, {2, "Exit"}}, true, [](int) {});
    service_->AddMenuEntry(menu);
    QAction* entry = nullptr;
    for (QAction* a : menu.actions())
        if (a->text() == "Allow other programs to control the lighting") entry = a;
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isCheckable());
    EXPECT_FALSE(entry->isChecked());
    EXPECT_EQ(menu.actions().back()->text(), "Exit");  // Exit stays last

    entry->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return service_->Server().Listening(); }, 2000));
    EXPECT_EQ(Store().ReadValue("SdkServer"), "1");
    EXPECT_TRUE(sdk::ReadSdkServerOptions(Store()).enabled);

    entry->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !service_->Server().Listening(); }, 2000));
    EXPECT_EQ(Store().ReadValue("SdkServer"), "0");
}

}  // namespace
}  // namespace qv::test
