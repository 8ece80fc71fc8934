#pragma once
// INI access with the semantics of the Windows private-profile functions, which every skin file,
// the text table, wskb.ini, the settings store and the user lighting files were written for:
// section and key names compare without case, absent file/section/key gives the default, values
// are cut at 259 characters (the 260-character read buffer), numbers read like wcstol.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_stamp.h"

namespace qv::ini {

inline constexpr std::size_t kReadBufferChars = 260;

// Four layout numbers of a skin entry, read as "%d,%d,%d,%d"; missing numbers stay 0.
struct LayoutValue {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const LayoutValue&) const = default;
};

// wcstol semantics on a 32-bit long: leading blanks, optional sign, decimal digits; no digits
// reads 0; values out of range saturate.
std::int32_t ParseLong(std::string_view text);
LayoutValue ParseLayout(std::string_view text);

// Cuts a UTF-8 text after `maxChars` characters (code points), never inside a character.
std::string CutToChars(std::string_view text, std::size_t maxChars);

// One INI file held in memory, its lines kept as they were so a write touches only its own line.
class IniDocument {
public:
    // A missing or unreadable file gives an empty document. Reads go through the parsed-file
    // cache below, so loading a file nobody changed costs a stat, not a parse.
    static IniDocument Load(const std::filesystem::path& file);
    static IniDocument Parse(std::string_view text);

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string Get(std::string_view section, std::string_view key, std::string_view def,
                    std::size_t bufferChars = kReadBufferChars) const;
    std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t def) const;

    void Set(std::string_view section, std::string_view key, std::string_view value);
    void Remove(std::string_view section, std::string_view key);

    // Names of the keys of a section in file order (first spelling of each).
    std::vector<std::string> Keys(std::string_view section) const;

    // Atomic replace; false when the folder is missing or the disk refuses. The cached copy of
    // the file is dropped either way.
    bool Save(const std::filesystem::path& file) const;
    std::string Text() const;

private:
    struct Located {
        std::size_t sectionLine;
        std::size_t endLine;  // one past the section's last line
    };
    std::optional<Located> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(const Located& where, std::string_view key) const;

    std::vector<std::string> lines_;
    std::string eol_ = "\n";
};

// Parsed INI files by path. A file is parsed again only when its stamp (inode, size, change
// times) differs from the one it was parsed at, and every write through this module drops the
// file's entry, so a file another program rewrites is seen at the next read. While a file's times
// are too recent to tell two writes of the same size apart, its bytes are read and compared on
// every read instead (a read, not a parse). Thread-safe.
class IniCache {
public:
    using StampSource = std::function<std::optional<FileStamp>(const std::filesystem::path&)>;
    using Clock = std::function<std::int64_t()>;

    static IniCache& Shared();

    // The file as it is now; an empty document when it is missing or unreadable.
    std::shared_ptr<const IniDocument> Get(const std::filesystem::path& file);
    void Forget(const std::filesystem::path& file);
    // How many times a file was read, and how many times parsed (for tests and the benchmark).
    std::size_t ReadCount() const;
    std::size_t ParseCount() const;

    // Tests put in file systems with coarser clocks.
    explicit IniCache(StampSource stamps = StampOf, Clock now = FileClockNowNs);
    ~IniCache();
    IniCache(const IniCache&) = delete;
    IniCache& operator=(const IniCache&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
    StampSource stamps_;
    Clock now_;
};

// The private-profile calls themselves: each sees the file as it is at the time of the call.
std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view def,
                      std::size_t bufferChars = kReadBufferChars);
std::int32_t GetInt(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::int32_t def);
// Creates the file and the section when needed; false when the file cannot be written.
bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value);

}  // namespace qv::ini

namespace qv {

// The skin's small INI helper object: a remembered path, reads that give nothing for an empty
// value, and writes.
class CIniFile {
public:
    static constexpr std::size_t kMaxPathChars = 259;
    static constexpr std::size_t kReadChars = 2048;  // at most 2047 characters come back

    virtual ~CIniFile() = default;

    // A path longer than 259 characters is refused and leaves no path at all: a cut path would
    // quietly name another file.
    bool SetPath(const std::filesystem::path& path);
    const std::filesystem::path& Path() const { return path_; }

    // The value, the default when it is absent, or nothing when that is empty.
    std::optional<std::string> Read(std::string_view section, std::string_view key,
                                    std::string_view def = "") const;
    bool Write(std::string_view section, std::string_view key, std::string_view value) const;

private:
    std::filesystem::path path_;
};

}  // namespace qv
