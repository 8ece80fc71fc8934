// The single-instance rule between real processes of the program.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <sys/stat.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace qv::test {
namespace {

class ProgramProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_ = home_.path() / "runtime";
        std::filesystem::create_directories(runtime_);
        ::chmod(runtime_.c_str(), 0700);
    }
    void TearDown() override {
        for (auto& p : processes_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    QProcess& Launch(const QStringList& args, bool keyboard = true) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const auto home = QString::fromStdString(home_.path().string());
        env.insert("HOME", home);
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.string()));
        env.insert("XDG_CONFIG_HOME", home + "/config");
        env.insert("XDG_STATE_HOME", home + "/state");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUORVANE_SIMULATE", keyboard ? "1" : "detached");
        env.insert("QUORVANE_SIM_STATE", home + "/keyboard.state");
        env.insert("QUORVANE_TRACE", "1");
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(QString(QV_BIN_DIR) + "/quorvane", args);
        EXPECT_TRUE(p->waitForStarted(5000));
        processes_.push_back(std::move(p));
        return *processes_.back();
    }

    // The first instance is reachable once its main window listens.
    bool WaitUntilListening(const QProcess& p) {
        const auto socket = runtime_ / "quorvane-instances" / ("instance-" + std::to_string(p.processId()) + ".sock");
        return QTest::qWaitFor([&] { return std::filesystem::exists(socket); }, 10000);
    }

    TempDir home_;
    std::filesystem::path runtime_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST_F(ProgramProcesses, SecondStartAsksTheFirstToOpenAndEnds) {
    QProcess& first = Launch({"/Start"});
    ASSERT_TRUE(WaitUntilListening(first));
    QProcess& second = Launch({});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QByteArray trace;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            first.waitForReadyRead(50);
            trace += first.readAllStandardError();
            return trace.contains("instance message 0x5350 0x4F50454E");
        },
        5000));
    EXPECT_EQ(first.state(), QProcess::Running);
}

TEST_F(ProgramProcesses, KillEndsTheRunningInstanceAndItself) {
    QProcess& first = Launch({});
    ASSERT_TRUE(WaitUntilListening(first));
    QProcess& killer = Launch({"/kILL", "/Start"});
    ASSERT_TRUE(killer.waitForFinished(10000));
    EXPECT_EQ(killer.exitCode(), 0);
    ASSERT_TRUE(first.waitForFinished(10000)) << "the running instance shuts down";
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(ProgramProcesses, KillWithoutAnotherInstanceEndsAtOnce) {
    QProcess& alone = Launch({"/Kill"});
    ASSERT_TRUE(alone.waitForFinished(10000));
    EXPECT_EQ(alone.exitCode(), 0);
    // It ended before it built a window: nothing ever listened.
    const auto folder = runtime_ / "quorvane-instances";
    EXPECT_TRUE(!std::filesystem::exists(folder) || std::filesystem::is_empty(folder));
}

}  // namespace
}  // namespace qv::test
