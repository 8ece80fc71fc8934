#include "core/keyboard/profile_block.h"

#include "core/keyboard/little_endian.h"

namespace qv {

void ProfileBlock::Read(const std::uint8_t* bytes, ProfileBlock& out) {
    for (std::size_t i = 0; i < kBlockHeaderSize; ++i) out.header[i] = bytes[i];
    const std::uint8_t* p = bytes + kBlockHeaderSize;
    for (KeyTable& table : out.tables) {
        for (KeyRecord& r : table) {
            r = KeyRecord::Read(p);
            p += KeyRecord::kSize;
        }
    }
}

void ProfileBlock::Write(std::uint8_t* bytes) const {
    for (std::size_t i = 0; i < kBlockHeaderSize; ++i) bytes[i] = header[i];
    std::uint8_t* p = bytes + kBlockHeaderSize;
    for (const KeyTable& table : tables) {
        for (const KeyRecord& r : table) {
            r.Write(p);
            p += KeyRecord::kSize;
        }
    }
}

std::uint16_t ProfileBlock::MacroCount() const {
    return le::Get16(header.data() + block_header::kMacroCount);
}

std::uint32_t ProfileBlock::TextSize() const {
    return le::Get32(header.data() + block_header::kTextSize);
}

std::uint8_t HeaderCheckByte(const std::uint8_t* fileHeader) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < block_header::kCheckByte; ++i) sum += fileHeader[i];
    return static_cast<std::uint8_t>(sum);
}

void SetFileHeader(ProfileBlock& block, std::uint16_t macroCount, std::uint32_t textSize) {
    using namespace block_header;
    std::uint8_t* h = block.header.data();
    for (std::size_t i = 0; i < kTableHeader; ++i) h[i] = 0;
    le::Put16(h + kMagic, kMagicValue);
    le::Put16(h + kHeaderSize, kFileHeaderSizeValue);
    le::Put16(h + kFormat, kFormatValue);
    le::Put16(h + kFormatMinor, kFormatMinorValue);
    le::Put32(h + kTotalSize, static_cast<std::uint32_t>(ProfileFileSize(macroCount, textSize)));
    le::Put16(h + kRecordCount, kRecordCountValue);
    le::Put16(h + kMacroCount, macroCount);
    le::Put32(h + kTextSize, textSize);
    h[kCheckByte] = HeaderCheckByte(h);
}

void WriteTableHeader(ProfileBlock& block) {
    std::uint8_t* t = block.header.data() + block_header::kTableHeader;
    for (std::size_t i = 0; i < 32; ++i) t[i] = 0;
    le::Put16(t + 0, 0x484B);  // "KH"
    le::Put16(t + 2, 32);
    le::Put16(t + 4, 0x8020);
    le::Put16(t + 6, 0);
    le::Put16(t + 8, kKeyTableCount);
    le::Put16(t + 10, kKeyTableRecords);
    le::Put32(t + 12, 0);
    le::Put32(t + 16, 0x53040C45);
    le::Put32(t + 20, 0x000E1C4F);
}

ProfileBlock NewProfileBlock() {
    ProfileBlock block;
    SetFileHeader(block, 0, 0);
    WriteTableHeader(block);
    for (KeyTable& t : block.tables) ResetKeyTable(t);
    return block;
}

}  // namespace qv
