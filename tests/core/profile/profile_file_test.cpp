#include "core/profile/profile_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/app/text_table.h"
#include "core/keyboard/key_code.h"
#include "core/keyboard/little_endian.h"
#include "platform/atomic_file.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

MacroRecord NamedMacro(std::u16string_view name, std::uint16_t id) {
    MacroRecord m;
    m.SetName(name);
    m.id = id;
    m.actionCount = 2;
    m.actions[0] = {30, 0x01E, kPress};
    m.actions[1] = {0, 0x01E, kRelease};
    m.actions[1999] = {7, 0x123, 9};  // unused slot: carried byte for byte
    m.reserved2 = 0xBEEF;
    return m;
}

ProfileContent SampleContent() {
    ProfileContent c = DefaultProfileContent();
    c.Record(0, KeyCodeToSlot(0x01E)) = {AssignSingleKey, 0, 0x030, 0x11223344, 0x55667788};
    c.Record(1, KeyCodeToSlot(0x03B)) = {AssignMacro, 3, 2, 0, 0};
    c.Record(2, KeyCodeToSlot(0x110)) = {AssignMedia, 0, 6, 0, 0};
    c.Record(0, KeyCodeToSlot(0x030)) = {AssignLaunchProgram, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(0, KeyCodeToSlot(0x030)), u"/usr/bin/calc");
    c.Record(2, 300) = {AssignTextBlock, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(2, 300), u"Dear Sir,");
    c.macros = {NamedMacro(u"first", 1), NamedMacro(u"second", 2)};
    return c;
}

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTextTable(); }
    test::TempDir dir;
    test::RecordingPrompt prompt;
    std::filesystem::path File(const char* name) const { return dir.path() / name; }
    void Write(const std::filesystem::path& p, const Bytes& bytes) {
        ASSERT_TRUE(WriteFileAtomically(p, bytes));
    }
};

// A header with every field right, for the check tests to spoil one at a time.
Bytes ValidFileBytes(std::uint16_t macros, std::uint32_t texts) {
    ProfileContent c = DefaultProfileContent();
    c.macros.resize(macros);
    for (std::uint32_t t = 0; t < texts / 4; ++t) {
        c.Record(0, static_cast<int>(t)).type = AssignTextBlock;
        c.texts.Set(TextSlotOf(0, static_cast<int>(t)), u"x");
    }
    return SerializeProfileFile(c);
}

void Reseal(Bytes& b) { b[31] = HeaderCheckByte(b.data()); }

TEST_F(ProfileFileTest, DefaultFileIsABlockWithResetTables) {
    ASSERT_TRUE(CreateDefaultFile(File("new.qvn")));
    const auto bytes = ReadWholeFile(File("new.qvn"));
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 32832u);
    const Bytes header(bytes->begin(), bytes->begin() + 64);
    const Bytes expected{'F', 'D', 32, 0, 3, 0, 1, 0, 0x40, 0x80, 0, 0, 0x00, 0x08, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x76,
                         'K', 'H', 32, 0, 0x20, 0x80, 0, 0, 4, 0, 0, 2, 0, 0, 0, 0,
                         0x45, 0x0C, 0x04, 0x53, 0x4F, 0x1C, 0x0E, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(header, expected);
    EXPECT_EQ(le::Get16(bytes->data() + 64 + 16 * 256 + 2), 0x0301);  // G1 of bank A
    EXPECT_EQ(le::Get16(bytes->data() + 64 + 16 * 273 + 2), 0x1309);  // G9 of bank B
    EXPECT_TRUE(ValidateFile(File("new.qvn"), prompt));
    EXPECT_TRUE(prompt.messages.empty());

    ProfileStore store;
    CreateDefaultFile(store);
    auto lock = store.Lock();
    EXPECT_EQ(store.Content(), DefaultProfileContent());
}

TEST_F(ProfileFileTest, RecordsSitWhereTheLayoutSaysByteForByte) {
    ProfileContent c = DefaultProfileContent();
    c.Record(1, 0x1E) = {AssignSingleKey, 0x0102, 0x030, 0xA1B2C3D4, 0x55667788};
    c.Record(0, 3) = {AssignTextBlock, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(0, 3), u"hi");
    MacroRecord& m = c.macros.emplace_back();
    m.SetName(u"ab");
    m.repeatCount = 7;
    m.newFlag = 1;
    m.reserved2 = 0x0909;
    m.id = 42;
    m.actionCount = 1;
    m.actions[0] = {-2, 0x11D, 1};
    const Bytes b = SerializeProfileFile(c);
    ASSERT_EQ(b.size(), 32832u + 16512u + 6u);

    const std::size_t r = 64 + (512 + 0x1E) * 16;
    EXPECT_EQ(Bytes(b.begin() + r, b.begin() + r + 16),
              (Bytes{2, 0, 0x02, 0x01, 0x30, 0, 0, 0, 0xD4, 0xC3, 0xB2, 0xA1, 0x88, 0x77, 0x66, 0x55}));
    EXPECT_EQ(Bytes(b.begin() + 64 + 3 * 16, b.begin() + 64 + 3 * 16 + 8), (Bytes{6, 0, 0, 0, 0, 0, 0, 0}));

    const std::size_t mr = 32832;
    EXPECT_EQ(Bytes(b.begin() + mr, b.begin() + mr + 6), (Bytes{'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(Bytes(b.begin() + mr + 500, b.begin() + mr + 520),
              (Bytes{7, 0, 1, 0, 0x09, 0x09, 42, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0x1D, 0x01, 1, 0}));
    EXPECT_EQ(Bytes(b.end() - 6, b.end()), (Bytes{'h', 0, 'i', 0, 0, 0}));
}

TEST_F(ProfileFileTest, SizeFollowsMacrosAndTexts) {
    const Bytes b = ValidFileBytes(2, 40);
    EXPECT_EQ(b.size(), 65896u);
    EXPECT_EQ(le::Get32(b.data() + 8), 65896u);
    EXPECT_EQ(le::Get16(b.data() + 14), 2);
    EXPECT_EQ(le::Get32(b.data() + 16), 40u);
}

TEST_F(ProfileFileTest, TextsArePackedInSlotOrderAtEvenOffsets) {
    ProfileContent c = DefaultProfileContent();
    c.Record(1, 5) = {AssignTextBlock, 0, 999, 0, 0};
    c.texts.Set(TextSlotOf(1, 5), u"second");
    c.Record(0, 9) = {AssignLaunchProgram, 0, 999, 0, 0};
    c.texts.Set(TextSlotOf(0, 9), u"abc");
    c.Record(0, 10) = {AssignSingleKey, 0, 0x030, 0, 0};  // a stale text of a key that moved on
    c.texts.Set(TextSlotOf(0, 10), u"zz");
    const Bytes area = PackTexts(c);
    ASSERT_EQ(area.size(), 8u + 14u + 6u);
    EXPECT_EQ(c.Record(0, 9).value, 0u);
    EXPECT_EQ(c.Record(1, 5).value, 8u);  // "abc" takes 8 bytes with its terminator
    EXPECT_EQ(c.Record(0, 10).value, 0x030u);
    EXPECT_EQ(Bytes(area.begin(), area.begin() + 8), (Bytes{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    EXPECT_EQ(Bytes(area.begin() + 22, area.end()), Bytes(6, 0));
}

TEST_F(ProfileFileTest, TextsAreFoundAtEvenOffsetsAndUntrustedOnesAreEmpty) {
    ProfileContent c = DefaultProfileContent();
    const Bytes area{'a', 0, 'b', 0, 0, 0, 'c', 0, 'd', 0};
    c.Record(0, 1) = {AssignLaunchProgram, 0, 1, 0, 0};   // odd: rounded down to 0
    c.Record(0, 2) = {AssignTextBlock, 0, 6, 0, 0};       // runs out of the area
    c.Record(0, 3) = {AssignTextBlock, 0, 1000, 0, 0};    // outside the area
    c.Record(0, 4) = {AssignTextBlock, 0, 4, 0, 0};       // just the terminator
    c.Record(0, 5) = {AssignSingleKey, 0, 0, 0, 0};       // owns no text
    UnpackTexts(c, area);
    EXPECT_EQ(c.texts.At(TextSlotOf(0, 1)), std::u16string(u"ab"));
    EXPECT_EQ(c.texts.At(TextSlotOf(0, 2)), std::u16string());
    EXPECT_EQ(c.texts.At(TextSlotOf(0, 3)), std::u16string());
    EXPECT_EQ(c.texts.At(TextSlotOf(0, 4)), std::u16string());
    EXPECT_FALSE(c.texts.At(TextSlotOf(0, 5)).has_value());
    EXPECT_EQ(c.texts.Total(), 6u + 2u + 2u + 2u);
}

TEST_F(ProfileFileTest, WorkingStoreRoundTripsThroughAFile) {
    ProfileStore store;
    {
        auto lock = store.Lock();
        store.Content() = SampleContent();
    }
    ASSERT_TRUE(WriteStoreToFile(store, File("a.qvn")));
    EXPECT_TRUE(ValidateFile(File("a.qvn"), prompt));
    ProfileStore back;
    ASSERT_TRUE(ReadFileIntoStore(File("a.qvn"), back));
    auto l1 = store.Lock();
    auto l2 = back.Lock();
    EXPECT_EQ(back.Content(), store.Content());  // text offsets were written into both
    EXPECT_EQ(back.Content().texts.At(TextSlotOf(2, 300)), std::u16string(u"Dear Sir,"));
    EXPECT_EQ(back.Content().macros[1].actions[1999], (MacroAction{7, 0x123, 9}));
    // Saving again gives the same bytes.
    ASSERT_TRUE(WriteStoreToFile(back, File("b.qvn")));
    EXPECT_EQ(ReadWholeFile(File("a.qvn")), ReadWholeFile(File("b.qvn")));
}

TEST_F(ProfileFileTest, WorkingFileIsWrittenOnlyWhenItExists) {
    ProfileStore store;
    CreateDefaultFile(store);
    EXPECT_FALSE(WriteStoreToWorkingFile(store, File("$Profile0")));
    EXPECT_FALSE(std::filesystem::exists(File("$Profile0")));
    ASSERT_TRUE(CreateDefaultFile(File("$Profile0")));
    EXPECT_TRUE(WriteStoreToWorkingFile(store, File("$Profile0")));
}

TEST_F(ProfileFileTest, ValidationRejectsEachWrongHeaderFieldWithTheMessage) {
    struct Spoil {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
        bool reseal;
    };
    const Spoil spoils[] = {
        {"magic", 0, 'X', true},       {"header size", 2, 33, true},
        {"format", 4, 2, true},        {"minor", 6, 0, true},
        {"total", 8, 0x41, true},      {"record count", 12, 1, true},
        {"flag", 30, 2, true},         {"check byte", 31, 0, false},
    };
    for (const Spoil& s : spoils) {
        SCOPED_TRACE(s.what);
        Bytes b = ValidFileBytes(0, 0);
        b[s.offset] = s.value;
        if (s.reseal) Reseal(b);
        if (!s.reseal) b[31] = static_cast<std::uint8_t>(HeaderCheckByte(b.data()) + 1);
        Write(File("bad.qvn"), b);
        prompt.messages.clear();
        EXPECT_FALSE(ValidateFile(File("bad.qvn"), prompt));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0],
                  "Wrong file format; nothing was changed: \n  " + File("bad.qvn").string());
    }
}

TEST_F(ProfileFileTest, MacroCountAndLengthRules) {
    Bytes b = ValidFileBytes(0, 0);
    le::Put16(b.data() + 14, 101);
    le::Put32(b.data() + 8, static_cast<std::uint32_t>(ProfileFileSize(101, 0)));
    Reseal(b);
    b.resize(ProfileFileSize(101, 0));
    Write(File("many.qvn"), b);
    EXPECT_FALSE(ValidateFile(File("many.qvn"), prompt));
    ProfileStore store;
    EXPECT_FALSE(ReadFileIntoStore(File("many.qvn"), store));

    Bytes longer = ValidFileBytes(1, 8);
    longer.resize(longer.size() + 100, 0xEE);
    Write(File("longer.qvn"), longer);
    EXPECT_TRUE(ValidateFile(File("longer.qvn"), prompt));
    EXPECT_TRUE(ReadFileIntoStore(File("longer.qvn"), store));

    // A file cut short of its declared size cannot be loaded, so it does not pass either.
    Bytes shorter = ValidFileBytes(1, 8);
    shorter.pop_back();
    Write(File("short.qvn"), shorter);
    prompt.messages.clear();
    EXPECT_FALSE(ValidateFile(File("short.qvn"), prompt));
    EXPECT_EQ(prompt.messages.size(), 1u);
}

TEST_F(ProfileFileTest, UnusableFilesAreInvalidWithoutAMessage) {
    EXPECT_FALSE(ValidateFile(File("missing.qvn"), prompt));
    Write(File("tiny.qvn"), Bytes(32831, 0));
    EXPECT_FALSE(ValidateFile(File("tiny.qvn"), prompt));
    EXPECT_FALSE(ValidateFile(dir.path(), prompt));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ProfileFileTest, AFailedReadLeavesTheStoreAsItWas) {
    ProfileStore store;
    {
        auto lock = store.Lock();
        store.Content() = SampleContent();
    }
    Bytes b = ValidFileBytes(2, 0);
    b.resize(b.size() - 1);
    Write(File("cut.qvn"), b);
    EXPECT_FALSE(ReadFileIntoStore(File("cut.qvn"), store));
    EXPECT_FALSE(ReadFileIntoStore(File("missing.qvn"), store));
    auto lock = store.Lock();
    EXPECT_EQ(store.Content(), SampleContent());
}

// An import takes a file as it says or not at all; the working file keeps being read, so one bad
// record never costs the user the rest of it.
TEST_F(ProfileFileTest, ImportRefusesCountsBeyondTheLimitsTheWorkingFileReaderKeeps) {
    ProfileContent c = SampleContent();
    c.macros[1].actionCount = 60000;
    const Bytes bytes = SerializeProfileFile(c);
    const ProfileFileRead refused = ReadImportedProfileFile(bytes);
    EXPECT_FALSE(refused.content);
    EXPECT_EQ(refused.error, "macro 2 ('second') has 60000 actions, a macro at most 2000");
    const auto working = ParseProfileFile(bytes);
    ASSERT_TRUE(working);
    EXPECT_EQ(working->macros[1].UsedActions(), 2000u);

    c.macros[1].actionCount = 2000;
    const ProfileFileRead full = ReadImportedProfileFile(SerializeProfileFile(c));
    ASSERT_TRUE(full.content) << full.error;
    EXPECT_EQ(full.content->macros, c.macros);

    Bytes many = ValidFileBytes(0, 0);
    le::Put16(many.data() + 14, 101);
    EXPECT_EQ(ReadImportedProfileFile(many).error, "the file holds 101 macros, the keyboard at most 100");
    Bytes cut = ValidFileBytes(2, 0);
    cut.pop_back();
    EXPECT_EQ(ReadImportedProfileFile(cut).error,
              "the file is cut short: its header asks for " + std::to_string(cut.size() + 1) + " bytes, it has " +
                  std::to_string(cut.size()));
    EXPECT_EQ(ReadImportedProfileFile(Bytes(100, 0)).error, "too short to be a profile file");
}

TEST_F(ProfileFileTest, ReaderDoesNotCheckTheHeader) {
    // Only the import path validates; the working file is read as it is.
    Bytes b = ValidFileBytes(0, 0);
    b[0] = 'X';
    Write(File("odd"), b);
    ProfileStore store;
    EXPECT_TRUE(ReadFileIntoStore(File("odd"), store));
}

}  // namespace
}  // namespace qv
