#pragma once
// Profile files: the ProfileBlock, the macro records and the packed texts of one store, in one
// binary file (the working file, exported/imported ".qvn" files, new default files).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"

namespace qv {

inline constexpr std::string_view kProfileFileExtension = "qvn";
inline constexpr std::string_view kProfileFileFilter = "(*.qvn)|*.qvn|(*.*)|*.*||";

// --- Texts -------------------------------------------------------------------------------------

// Packs the texts of type 3 and 6 records in slot order into one area of the content's text
// total, stores each text's offset in its record's value and returns the area.
std::vector<std::uint8_t> PackTexts(ProfileContent& content);
// Gives every type 3 and 6 record the text at its value (rounded down to even); an offset or a
// string outside the area gives an empty text.
void UnpackTexts(ProfileContent& content, std::span<const std::uint8_t> area);

// --- Bytes -------------------------------------------------------------------------------------

// The file's bytes; the header is recomputed for the content and the texts packed.
std::vector<std::uint8_t> SerializeProfileFile(ProfileContent& content);
// The content of a file's bytes. Fails when the bytes are shorter than the header says or the
// header declares more than 100 macros; nothing else of the header is checked here. A macro's
// action count above 2000 is kept and read as 2000 (MacroRecord::UsedActions): this reads the
// working file too, which is not thrown away over one bad record.
std::optional<ProfileContent> ParseProfileFile(std::span<const std::uint8_t> bytes);

// What an import or a validation takes from a file: the content of ParseProfileFile, or a
// one-line reason when the file is cut short or a count is beyond what the keyboard holds
// (macros, actions of a macro), instead of reading it as something else.
struct ProfileFileRead {
    std::optional<ProfileContent> content;
    std::string error;
};
ProfileFileRead ReadImportedProfileFile(std::span<const std::uint8_t> bytes);

enum class ProfileFileCheck {
    Valid,
    Unusable,     // missing, unreadable, too short or too large: no message
    FormatError,  // content wrong: the format message
};
// The header checks of the import path, on the file's bytes (at least its first 32).
ProfileFileCheck CheckProfileFileBytes(std::span<const std::uint8_t> bytes, std::uint64_t fileSize);

// --- Files -------------------------------------------------------------------------------------

// A new file with no macros, no texts and four reset key tables (32,832 bytes).
bool CreateDefaultFile(const std::filesystem::path& path);
// The same in memory: the store gets a default block, no macros and no texts.
void CreateDefaultFile(ProfileStore& store);

// Recomputes the header in the store, packs its texts and replaces the file atomically.
bool WriteStoreToFile(ProfileStore& store, const std::filesystem::path& path);
// The working-file variant: writes only when the file already exists.
bool WriteStoreToWorkingFile(ProfileStore& store, const std::filesystem::path& path);

// The path is a regular file this user may open for reading; false for a missing file, a folder
// or one without read permission, which are told apart from files whose content is wrong.
bool FileCanBeRead(const std::filesystem::path& path);

// Replaces the store's content with the file's; on failure the store is left as it was.
bool ReadFileIntoStore(const std::filesystem::path& path, ProfileStore& store);

// The import check; shows the PROFILE_FORMAT_ERROR message (with the path) for content errors.
bool ValidateFile(const std::filesystem::path& path, UserPrompt& prompt);

}  // namespace qv
