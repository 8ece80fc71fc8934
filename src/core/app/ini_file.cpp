#include "core/app/ini_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <mutex>
#include <unordered_map>

#include "platform/atomic_file.h"

namespace qv::ini {
namespace {

constexpr std::size_t kMaxIniFileBytes = 16u << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// "[name]" gives name; anything else is not a section line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

// A value in matching quotes loses them, which is how a text keeps its trailing spaces.
std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

bool NeedsQuotes(std::string_view v) {
    if (v.empty()) return false;
    if (IsBlank(v.front()) || IsBlank(v.back())) return true;
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

}  // namespace

std::int32_t ParseLong(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    bool saturated = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (!saturated) {
            value = value * 10 + (text[i] - '0');
            if (value > static_cast<long long>(INT32_MAX) + 1) saturated = true;
        }
    }
    if (negative) value = -value;
    if (saturated || value > INT32_MAX) return negative ? INT32_MIN : INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

LayoutValue ParseLayout(std::string_view text) {
    // sscanf("%d,%d,%d,%d"): each number may have leading blanks; the first mismatch stops.
    int* fields[4];
    LayoutValue out;
    fields[0] = &out.x;
    fields[1] = &out.y;
    fields[2] = &out.w;
    fields[3] = &out.h;
    std::size_t i = 0;
    for (int f = 0; f < 4; ++f) {
        if (f > 0) {
            if (i >= text.size() || text[i] != ',') break;
            ++i;
        }
        std::size_t j = i;
        while (j < text.size() && IsBlank(text[j])) ++j;
        std::size_t k = j;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        const std::size_t digitsStart = k;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
        if (k == digitsStart) break;
        *fields[f] = ParseLong(text.substr(j, k - j));
        i = k;
    }
    return out;
}

std::string CutToChars(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (chars == maxChars) break;
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (lead >= 0xF0) len = 4;
        else if (lead >= 0xE0) len = 3;
        else if (lead >= 0xC0) len = 2;
        if (i + len > text.size()) len = text.size() - i;
        i += len;
        ++chars;
    }
    return std::string(text.substr(0, i));
}

IniDocument IniDocument::Load(const std::filesystem::path& file) { return *IniCache::Shared().Get(file); }

struct IniCache::State {
    struct Entry {
        std::optional<FileStamp> stamp;  // nothing: the file was missing
        std::shared_ptr<const IniDocument> doc;
        bool settled = true;
        std::string bytes;  // what `doc` was parsed from, kept while the stamp is not settled
    };
    mutable std::mutex mutex;
    std::unordered_map<std::string, Entry> entries;
    std::size_t reads = 0;
    std::size_t parses = 0;
};

IniCache::IniCache(StampSource stamps, Clock now)
    : state_(std::make_unique<State>()), stamps_(std::move(stamps)), now_(std::move(now)) {}
IniCache::~IniCache() = default;

IniCache& IniCache::Shared() {
    static IniCache cache;
    return cache;
}

std::shared_ptr<const IniDocument> IniCache::Get(const std::filesystem::path& file) {
    // The clock is read before the stamp and the stamp before the bytes: a write landing in
    // between then only costs one more read, never a stale entry that looks current.
    const std::int64_t now = now_();
    const auto stamp = stamps_(file);
    const std::string key = file.lexically_normal().string();
    std::shared_ptr<const IniDocument> known;
    {
        const std::lock_guard lock(state_->mutex);
        const auto it = state_->entries.find(key);
        if (it != state_->entries.end() && it->second.stamp == stamp) {
            if (it->second.settled) return it->second.doc;
            known = it->second.doc;
        }
    }
    State::Entry entry{stamp, nullptr, !stamp || Settled(*stamp, now), {}};
    bool parsed = false;
    if (!stamp) {
        entry.doc = std::make_shared<const IniDocument>();
    } else {
        const auto bytes = ReadWholeFile(file, kMaxIniFileBytes);
        std::string text = bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
        {
            const std::lock_guard lock(state_->mutex);
            const auto it = state_->entries.find(key);
            if (known && it != state_->entries.end() && it->second.doc == known && it->second.bytes == text) {
                entry.doc = known;
            }
        }
        if (!entry.doc) {
            entry.doc = std::make_shared<const IniDocument>(IniDocument::Parse(text));
            parsed = true;
        }
        if (!entry.settled) entry.bytes = std::move(text);
    }
    const std::lock_guard lock(state_->mutex);
    if (stamp) ++state_->reads;
    if (parsed) ++state_->parses;
    auto doc = entry.doc;
    state_->entries[key] = std::move(entry);
    return doc;
}

void IniCache::Forget(const std::filesystem::path& file) {
    const std::lock_guard lock(state_->mutex);
    state_->entries.erase(file.lexically_normal().string());
}

std::size_t IniCache::ReadCount() const {
    const std::lock_guard lock(state_->mutex);
    return state_->reads;
}

std::size_t IniCache::ParseCount() const {
    const std::lock_guard lock(state_->mutex);
    return state_->parses;
}

IniDocument IniDocument::Parse(std::string_view text) {
    IniDocument doc;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (text.find("\r\n") != std::string_view::npos) doc.eol_ = "\r\n";
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        doc.lines_.emplace_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return doc;
}

std::optional<IniDocument::Located> IniDocument::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (!name || !EqualNoCase(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end])) ++end;
        return Located{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKeyLine(const Located& where, std::string_view key) const {
    for (std::size_t i = where.sectionLine + 1; i < where.endLine; ++i) {
        const auto kl = SplitKeyLine(lines_[i]);
        if (kl && EqualNoCase(kl->key, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    const auto where = FindSection(section);
    if (!where) return std::nullopt;
    const auto line = FindKeyLine(*where, key);
    if (!line) return std::nullopt;
    return std::string(Unquote(SplitKeyLine(lines_[*line])->value));
}

std::string IniDocument::Get(std::string_view section, std::string_view key, std::string_view def,
                             std::size_t bufferChars) const {
    const std::size_t maxChars = bufferChars == 0 ? 0 : bufferChars - 1;
    const auto found = Find(section, key);
    return CutToChars(found ? std::string_view(*found) : def, maxChars);
}

std::int32_t IniDocument::GetInt(std::string_view section, std::string_view key,
                                 std::int32_t def) const {
    const auto found = Find(section, key);
    return found ? ParseLong(CutToChars(*found, kReadBufferChars - 1)) : def;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    if (NeedsQuotes(value)) {
        line += '"';
        line += value;
        line += '"';
    } else {
        line += value;
    }
    const auto where = FindSection(section);
    if (!where) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    if (const auto at = FindKeyLine(*where, key)) {
        lines_[*at] = std::move(line);
        return;
    }
    // After the section's last non-blank line, so blank separators stay between sections.
    std::size_t insertAt = where->endLine;
    while (insertAt > where->sectionLine + 1 && Trim(lines_[insertAt - 1]).empty()) --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

void IniDocument::Remove(std::string_view section, std::string_view key) {
    const auto where = FindSection(section);
    if (!where) return;
    if (const auto at = FindKeyLine(*where, key)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    }
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto where = FindSection(section);
    if (!where) return keys;
    for (std::size_t i = where->sectionLine + 1; i < where->endLine; ++i) {
        const auto kl = SplitKeyLine(lines_[i]);
        if (!kl) continue;
        const bool seen = std::any_of(keys.begin(), keys.end(),
                                      [&](const std::string& k) { return EqualNoCase(k, kl->key); });
        if (!seen) keys.emplace_back(kl->key);
    }
    return keys;
}

std::string IniDocument::Text() const {
    std::string text;
    for (const auto& line : lines_) {
        text += line;
        text += eol_;
    }
    return text;
}

bool IniDocument::Save(const std::filesystem::path& file) const {
    const bool saved = WriteFileAtomically(file, Text());
    IniCache::Shared().Forget(file);
    return saved;
}

std::string GetString(const std::filesystem::path& file, std::string_view section,
                      std::string_view key, std::string_view def, std::size_t bufferChars) {
    return IniCache::Shared().Get(file)->Get(section, key, def, bufferChars);
}

std::int32_t GetInt(const std::filesystem::path& file, std::string_view section,
                    std::string_view key, std::int32_t def) {
    return IniCache::Shared().Get(file)->GetInt(section, key, def);
}

bool WriteString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                 std::string_view value) {
    std::error_code ec;
    const auto folder = file.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) return false;
    IniDocument doc = IniDocument::Load(file);
    doc.Set(section, key, value);
    return doc.Save(file);
}

}  // namespace qv::ini

namespace qv {

bool CIniFile::SetPath(const std::filesystem::path& path) {
    const std::string text = path.string();
    if (ini::CutToChars(text, kMaxPathChars) != text) {
        path_.clear();
        return false;
    }
    path_ = path;
    return true;
}

std::optional<std::string> CIniFile::Read(std::string_view section, std::string_view key,
                                          std::string_view def) const {
    if (path_.empty()) return def.empty() ? std::nullopt : std::optional<std::string>(def);
    std::string value = ini::GetString(path_, section, key, def, kReadChars);
    if (value.empty()) return std::nullopt;
    return value;
}

bool CIniFile::Write(std::string_view section, std::string_view key, std::string_view value) const {
    if (path_.empty()) return false;
    return ini::WriteString(path_, section, key, value);
}

}  // namespace qv
