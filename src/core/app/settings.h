#pragma once
// The per-user settings file wskb.ini and the per-user application settings store (an INI file
// standing in for the registry root "Quorvane_Ostrel").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// wskb.ini, section "KEYCOLOR". Reads give "0" when absent; writes fail silently when the
// per-user folder does not exist yet.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path file) : file_(std::move(file)) {}

    bool LightingViewOn() const;            // "DengCheck" reads as the number 1
    bool SetLightingView(bool on) const;
    bool UserModesSeeded() const;           // "usermodeCheck" reads as the number 1
    bool SetUserModesSeeded(bool seeded) const;

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
};

// Section "PROFILES" of the application settings store; every value is a string.
class SettingsStore {
public:
    static constexpr std::string_view kRoot = "Quorvane_Ostrel";
    static constexpr std::string_view kSection = "PROFILES";

    explicit SettingsStore(std::filesystem::path file) : file_(std::move(file)) {}
    // $XDG_CONFIG_HOME/Quorvane_Ostrel/<application>.ini (~/.config when unset).
    static std::filesystem::path DefaultFile(std::string_view application = "Quorvane");

    std::optional<std::string> ReadValue(std::string_view name) const;
    // Creates the folder and the file as needed.
    bool WriteValue(std::string_view name, std::string_view value) const;
    bool RemoveValue(std::string_view name) const;

    int ReadFlip() const;
    int WriteFlip(int v) const;
    // The value's name is the text of MACRO_ACTION_RECORD_DELAY ("RecordDelay" until loaded).
    int ReadRecordDelay() const;
    int WriteRecordDelay(int v) const;

    const std::filesystem::path& File() const { return file_; }

private:
    int ReadSwitch(std::string_view name) const;
    int WriteSwitch(std::string_view name, int v) const;
    std::filesystem::path file_;
};

}  // namespace qv
