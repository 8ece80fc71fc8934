#include "core/app/text_table.h"

#include <array>
#include <mutex>

#include "core/app/ini_file.h"

namespace qv {
namespace {

template <typename Id>
struct Buffers {
    std::array<std::string, static_cast<std::size_t>(Id::Count)> texts;
    bool initialised = false;
};

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}

Buffers<TextId>& TextBuffers() {
    static Buffers<TextId> b;
    return b;
}

Buffers<CaptionId>& CaptionBuffers() {
    static Buffers<CaptionId> b;
    return b;
}

template <typename Id, typename EntryOf>
void FillInitial(Buffers<Id>& b, EntryOf entryOf) {
    for (std::size_t i = 0; i < b.texts.size(); ++i) {
        const TextEntry& e = entryOf(static_cast<Id>(i));
        b.texts[i] = ini::CutToChars(e.initial, e.capacity - 1);
    }
    b.initialised = true;
}

template <typename Id, typename EntryOf>
void FillFromFile(Buffers<Id>& b, EntryOf entryOf, const std::filesystem::path& file) {
    const auto doc = ini::IniDocument::Load(file);
    const std::string section = LanguageSection(file);
    for (std::size_t i = 0; i < b.texts.size(); ++i) {
        const TextEntry& e = entryOf(static_cast<Id>(i));
        // A key missing from the file leaves a single space, not the compiled-in text.
        b.texts[i] = ini::CutToChars(doc.Get(section, e.key, " "), e.capacity - 1);
    }
    b.initialised = true;
}

}  // namespace

std::string LanguageSection(const std::filesystem::path& languageFile) {
    const auto value = ini::GetString(languageFile, kLanguageSection, kLanguageKey, "0");
    return ini::ParseLong(value) == 1 ? "ENGINSH" : "CHINESE";
}

void LoadTextTable(const std::filesystem::path& languageFile) {
    std::lock_guard lock(TableMutex());
    FillFromFile(TextBuffers(), TextEntryOf, languageFile);
}

void LoadCaptionSet(const std::filesystem::path& languageFile) {
    std::lock_guard lock(TableMutex());
    FillFromFile(CaptionBuffers(), CaptionEntryOf, languageFile);
}

void ResetTextTable() {
    std::lock_guard lock(TableMutex());
    FillInitial(TextBuffers(), TextEntryOf);
    FillInitial(CaptionBuffers(), CaptionEntryOf);
}

const std::string& Text(TextId id) {
    auto& b = TextBuffers();
    if (!b.initialised) {
        std::lock_guard lock(TableMutex());
        if (!b.initialised) FillInitial(b, TextEntryOf);
    }
    return b.texts.at(static_cast<std::size_t>(id));
}

const std::string& Caption(CaptionId id) {
    auto& b = CaptionBuffers();
    if (!b.initialised) {
        std::lock_guard lock(TableMutex());
        if (!b.initialised) FillInitial(b, CaptionEntryOf);
    }
    return b.texts.at(static_cast<std::size_t>(id));
}

std::string ReadLanguageText(const std::filesystem::path& languageFile, std::string_view key) {
    return ini::GetString(languageFile, LanguageSection(languageFile), key, " ");
}

}  // namespace qv
