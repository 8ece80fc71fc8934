#include "core/profile/profile_file.h"

#include <fstream>
#include <string>
#include <system_error>

#include "core/app/text_table.h"
#include "core/keyboard/little_endian.h"
#include "platform/atomic_file.h"

namespace qv {
namespace {

constexpr std::size_t kFileHeaderSize = 32;
constexpr std::uint64_t kLargestFile = 0xFFFFFFFFull;  // below 4 GiB
// Texts are key paths and text blocks; an area larger than this is not a file of ours.
constexpr std::uint32_t kLargestTextArea = 64u << 20;

// Reads up to `count` bytes from the start of a file; nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> ReadPrefix(const std::filesystem::path& path,
                                                    std::uint64_t count) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::uint64_t> RegularFileSize(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

}  // namespace

std::vector<std::uint8_t> PackTexts(ProfileContent& content) {
    const std::uint32_t total = content.texts.Total();
    std::vector<std::uint8_t> area(total, 0);
    std::uint32_t offset = 0;
    for (int slot = 0; slot < kTextSlots; ++slot) {
        const auto& text = content.texts.At(slot);
        KeyRecord& r = content.Record(slot / kKeyTableRecords, slot % kKeyTableRecords);
        if (!text || !OwnsText(r.type)) continue;
        const std::uint32_t size = content.texts.SizeOf(slot);
        if (offset + size > total) continue;
        for (std::size_t k = 0; k < text->size(); ++k) le::Put16(&area[offset + 2 * k], (*text)[k]);
        r.value = offset;
        offset += size;  // sizes are even, so every offset stays even
    }
    return area;
}

void UnpackTexts(ProfileContent& content, std::span<const std::uint8_t> area) {
    content.texts.Clear();
    const std::size_t units = area.size() / 2;
    // End of the string starting at each unit, found in one pass so that many records pointing
    // into one long area cost no more than the area itself.
    std::vector<std::uint32_t> terminator(units + 1, static_cast<std::uint32_t>(units));
    for (std::size_t i = units; i-- > 0;) {
        terminator[i] = le::Get16(&area[2 * i]) == 0 ? static_cast<std::uint32_t>(i) : terminator[i + 1];
    }
    for (int slot = 0; slot < kTextSlots; ++slot) {
        const KeyRecord& r = content.Record(slot / kKeyTableRecords, slot % kKeyTableRecords);
        if (!OwnsText(r.type)) continue;
        std::u16string text;
        const std::size_t first = r.value / 2;
        // An offset or a string that runs out of the area is not trusted: the text is empty.
        if (first < units && terminator[first] < units) {
            for (std::size_t i = first; i < terminator[first]; ++i) text += le::Get16(&area[2 * i]);
        }
        content.texts.Set(slot, text);
    }
}

std::vector<std::uint8_t> SerializeProfileFile(ProfileContent& content) {
    std::vector<std::uint8_t> area = PackTexts(content);
    SetFileHeader(content.block, static_cast<std::uint16_t>(content.macros.size()),
                  static_cast<std::uint32_t>(area.size()));
    std::vector<std::uint8_t> bytes(kProfileBlockSize + MacroRecord::kSize * content.macros.size() +
                                    area.size());
    content.block.Write(bytes.data());
    std::uint8_t* p = bytes.data() + kProfileBlockSize;
    for (const MacroRecord& m : content.macros) {
        m.Write(p);
        p += MacroRecord::kSize;
    }
    std::copy(area.begin(), area.end(), p);
    return bytes;
}

std::optional<ProfileContent> ParseProfileFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kProfileBlockSize) return std::nullopt;
    const std::uint16_t macroCount = le::Get16(bytes.data() + block_header::kMacroCount);
    const std::uint32_t textSize = le::Get32(bytes.data() + block_header::kTextSize);
    if (macroCount > kMaxMacros || textSize > kLargestTextArea) return std::nullopt;
    if (bytes.size() < ProfileFileSize(macroCount, textSize)) return std::nullopt;

    std::optional<ProfileContent> content(std::in_place);
    ProfileBlock::Read(bytes.data(), content->block);
    content->macros.resize(macroCount);
    const std::uint8_t* p = bytes.data() + kProfileBlockSize;
    for (MacroRecord& m : content->macros) {
        MacroRecord::Read(p, m);
        p += MacroRecord::kSize;
    }
    UnpackTexts(*content, std::span(p, textSize));
    return content;
}

ProfileFileRead ReadImportedProfileFile(std::span<const std::uint8_t> bytes) {
    ProfileFileRead out;
    if (bytes.size() < kProfileBlockSize) {
        out.error = "too short to be a profile file";
        return out;
    }
    const std::uint16_t macroCount = le::Get16(bytes.data() + block_header::kMacroCount);
    const std::uint32_t textSize = le::Get32(bytes.data() + block_header::kTextSize);
    if (macroCount > kMaxMacros) {
        out.error = "the file holds " + std::to_string(macroCount) + " macros, the keyboard at most " +
                    std::to_string(kMaxMacros);
        return out;
    }
    if (textSize > kLargestTextArea) {
        out.error = "the file's text area of " + std::to_string(textSize) + " bytes is larger than a profile file's can be";
        return out;
    }
    if (const std::uint64_t wanted = ProfileFileSize(macroCount, textSize); bytes.size() < wanted) {
        out.error = "the file is cut short: its header asks for " + std::to_string(wanted) + " bytes, it has " +
                    std::to_string(bytes.size());
        return out;
    }
    auto content = ParseProfileFile(bytes);
    if (!content) {
        out.error = "not a profile file";
        return out;
    }
    for (std::size_t i = 0; i < content->macros.size(); ++i) {
        const MacroRecord& m = content->macros[i];
        if (m.actionCount > kMaxMacroActions) {
            out.error = "macro " + std::to_string(i + 1) + " ('" + m.NameUtf8() + "') has " +
                        std::to_string(m.actionCount) + " actions, a macro at most " + std::to_string(kMaxMacroActions);
            return out;
        }
    }
    out.content = std::move(content);
    return out;
}

ProfileFileCheck CheckProfileFileBytes(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
    if (fileSize > kLargestFile - 1 || fileSize < kProfileBlockSize || bytes.size() < kFileHeaderSize) {
        return ProfileFileCheck::Unusable;
    }
    using namespace block_header;
    const std::uint8_t* h = bytes.data();
    const std::uint32_t total = le::Get32(h + kTotalSize);
    const std::uint16_t macros = le::Get16(h + kMacroCount);
    const std::uint32_t texts = le::Get32(h + kTextSize);
    const bool ok = le::Get16(h + kMagic) == kMagicValue &&
                    le::Get16(h + kHeaderSize) == kFileHeaderSizeValue &&
                    le::Get16(h + kFormat) == kFormatValue &&
                    le::Get16(h + kFormatMinor) == kFormatMinorValue &&
                    total > kProfileBlockSize - 1 && le::Get16(h + kRecordCount) == kRecordCountValue &&
                    macros <= kMaxMacros && h[kFlag] < 2 && total == ProfileFileSize(macros, texts) &&
                    h[kCheckByte] == HeaderCheckByte(h) &&
                    // A file cut short is not one the reader could load.
                    fileSize >= total;
    return ok ? ProfileFileCheck::Valid : ProfileFileCheck::FormatError;
}

bool CreateDefaultFile(const std::filesystem::path& path) {
    ProfileContent content = DefaultProfileContent();
    return WriteFileAtomically(path, SerializeProfileFile(content));
}

void CreateDefaultFile(ProfileStore& store) {
    auto lock = store.Lock();
    store.Content() = DefaultProfileContent();
}

bool WriteStoreToFile(ProfileStore& store, const std::filesystem::path& path) {
    auto lock = store.Lock();
    return WriteFileAtomically(path, SerializeProfileFile(store.Content()));
}

bool WriteStoreToWorkingFile(ProfileStore& store, const std::filesystem::path& path) {
    auto lock = store.Lock();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return false;
    return WriteStoreToFile(store, path);
}

bool FileCanBeRead(const std::filesystem::path& path) {
    if (!RegularFileSize(path)) return false;
    return static_cast<bool>(std::ifstream(path, std::ios::binary));
}

bool ReadFileIntoStore(const std::filesystem::path& path, ProfileStore& store) {
    const auto size = RegularFileSize(path);
    if (!size || *size < kProfileBlockSize) return false;
    const auto head = ReadPrefix(path, kProfileBlockSize);
    if (!head || head->size() < kProfileBlockSize) return false;
    const std::uint16_t macros = le::Get16(head->data() + block_header::kMacroCount);
    const std::uint32_t texts = le::Get32(head->data() + block_header::kTextSize);
    const std::uint64_t wanted = ProfileFileSize(macros, texts);
    if (macros > kMaxMacros || texts > kLargestTextArea || wanted > *size) return false;
    const auto bytes = ReadPrefix(path, wanted);
    if (!bytes) return false;
    auto content = ParseProfileFile(*bytes);
    if (!content) return false;
    auto lock = store.Lock();
    store.Content() = std::move(*content);
    return true;
}

bool ValidateFile(const std::filesystem::path& path, UserPrompt& prompt) {
    const auto size = RegularFileSize(path);
    if (!size) return false;
    const auto head = ReadPrefix(path, kFileHeaderSize);
    if (!head) return false;
    switch (CheckProfileFileBytes(*head, *size)) {
        case ProfileFileCheck::Valid:
            return true;
        case ProfileFileCheck::Unusable:
            return false;
        case ProfileFileCheck::FormatError:
            prompt.ShowError(FormatText(Text(TextId::PROFILE_FORMAT_ERROR), path.string()));
            return false;
    }
    return false;
}

}  // namespace qv
