#include "core/app/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/app/ini_file.h"
#include "core/app/text_table.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(SettingsStoreTest, FlipStoresOnlyZeroOrOne) {
    test::TempDir dir;
    const SettingsStore store(dir.path() / "Quorvane_Ostrel" / "Quorvane.ini");
    EXPECT_EQ(store.ReadFlip(), 0);
    EXPECT_EQ(store.WriteFlip(1), 1);
    EXPECT_EQ(store.ReadFlip(), 1);
    EXPECT_EQ(store.WriteFlip(2), 0);
    EXPECT_EQ(store.ReadValue("Flip"), "0");
    EXPECT_EQ(store.WriteFlip(-1), 0);
    EXPECT_EQ(store.ReadFlip(), 0);
}

TEST(SettingsStoreTest, UnreadableValuesReadAsZero) {
    test::TempDir dir;
    const SettingsStore store(dir.path() / "s.ini");
    ASSERT_TRUE(store.WriteValue("Flip", "yes"));
    EXPECT_EQ(store.ReadFlip(), 0);
    ASSERT_TRUE(store.WriteValue("Flip", " 1"));
    EXPECT_EQ(store.ReadFlip(), 1);
}

TEST(SettingsStoreTest, RecordDelayIsNamedByTheTextTable) {
    ResetTextTable();
    test::TempDir dir;
    const SettingsStore store(dir.path() / "s.ini");
    EXPECT_EQ(store.WriteRecordDelay(1), 1);
    EXPECT_EQ(store.ReadValue("RecordDelay"), "1");
    EXPECT_EQ(store.WriteRecordDelay(5), 0);
    EXPECT_EQ(store.ReadRecordDelay(), 0);
    EXPECT_EQ(ini::GetString(store.File(), "profiles", "recorddelay", "?"), "0");
}

TEST(SettingsStoreTest, DefaultFileFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/qv-config", 1);
    EXPECT_EQ(SettingsStore::DefaultFile(), "/tmp/qv-config/Quorvane_Ostrel/Quorvane.ini");
    if (old) setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

TEST(SettingsFileTest, KeyColourFlagsDefaultOffAndNeedTheFolder) {
    test::TempDir dir;
    const SettingsFile missing(dir.path() / "Quorvane" / "wskb.ini");
    EXPECT_FALSE(missing.LightingViewOn());
    EXPECT_FALSE(missing.SetLightingView(true));  // no per-user folder yet: nothing written

    const SettingsFile file(dir.path() / "wskb.ini");
    ASSERT_TRUE(file.SetLightingView(true));
    ASSERT_TRUE(file.SetUserModesSeeded(true));
    EXPECT_TRUE(file.LightingViewOn());
    EXPECT_TRUE(file.UserModesSeeded());
    EXPECT_EQ(ini::GetString(file.File(), "KEYCOLOR", "DengCheck", ""), "1");
    EXPECT_EQ(ini::GetString(file.File(), "KEYCOLOR", "usermodeCheck", ""), "1");
    ASSERT_TRUE(file.SetLightingView(false));
    EXPECT_FALSE(file.LightingViewOn());
}

TEST(SettingsFileTest, KeyColourFlagsAreOnWhenTheyReadAsOne) {
    test::TempDir dir;
    const SettingsFile file(dir.path() / "wskb.ini");
    for (const char* on : {"01", " 1", "1x", "+1"}) {
        ASSERT_TRUE(ini::WriteString(file.File(), "KEYCOLOR", "DengCheck", on));
        ASSERT_TRUE(ini::WriteString(file.File(), "KEYCOLOR", "usermodeCheck", on));
        EXPECT_TRUE(file.LightingViewOn()) << on;
        EXPECT_TRUE(file.UserModesSeeded()) << on;
    }
    for (const char* off : {"11", "yes", "", "-1"}) {
        ASSERT_TRUE(ini::WriteString(file.File(), "KEYCOLOR", "DengCheck", off));
        EXPECT_FALSE(file.LightingViewOn()) << off;
    }
}

}  // namespace
}  // namespace qv
