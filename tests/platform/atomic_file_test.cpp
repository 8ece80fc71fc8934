#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(AtomicFile, ReplacesWholeAndHonoursTheMode) {
    test::TempDir dir;
    const auto f = dir.path() / "state.bin";
    ASSERT_TRUE(WriteFileAtomically(f, std::string_view("first version, longer")));
    const std::vector<std::uint8_t> second{1, 2, 3};
    ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(f, second, {.flushToDisk = false, .mode = 0600}));
    EXPECT_EQ(ReadWholeFile(f), second);
    struct stat st{};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Nothing but the file itself is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, MissingFolderFailsAndOversizedReadsGiveNothing) {
    test::TempDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir.path() / "no" / "f", std::string_view("x")));
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "f", std::string_view("12345")));
    EXPECT_FALSE(ReadWholeFile(dir.path() / "f", 4).has_value());
    EXPECT_EQ(ReadWholeFile(dir.path() / "f", 5)->size(), 5u);
}

}  // namespace
}  // namespace qv
