#pragma once

#include "platform/settings/SettingsFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace slidesmith::settings {

// The per-user settings: typed values (text, number, binary) under registry-style key paths,
// kept in one human-readable file (see SettingsFile). The store object stands for the user's
// root, so callers pass only the key path and the value name (see SettingNames.h).
//
// Every failure is silent: a read that cannot find or understand a value returns the caller's
// default, and a save that cannot write leaves the file as it was, so the program works on a
// fresh machine and on a read-only home without any set-up. Saves from several processes are
// serialised by an advisory lock on "<file>.lock" and replace the file by rename, so readers
// never see half a file and no concurrent update is lost.
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file) : m_file(std::move(file)) {}

    // $SLIDESMITH_SETTINGS when set, else $XDG_CONFIG_HOME/slidesmith/settings.reg, with
    // ~/.config when XDG_CONFIG_HOME is unset or not absolute. Empty when nothing names a home.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& Path() const { return m_file; }

    // Only a text value counts, cut at its first NUL; anything else gives the default.
    std::string GetSettingText(std::string_view keyPath, std::string_view valueName,
                               std::string_view defaultText) const;
    // A number as stored; a text by its leading decimal number (blanks, sign, digits, fraction,
    // exponent; no digits read as 0) rounded half to even; a 4-byte binary little-endian.
    // Anything else, or a value outside the 32-bit range, gives the default.
    std::int32_t GetSettingNumber(std::string_view keyPath, std::string_view valueName,
                                  std::int32_t defaultNumber) const;
    // Creates the file, its folder and the key as needed.
    void SaveSettingText(std::string_view keyPath, std::string_view valueName,
                         std::string_view text);
    void SaveSettingNumber(std::string_view keyPath, std::string_view valueName,
                           std::int32_t number);

private:
    std::optional<StoredValue> Read(std::string_view keyPath, std::string_view valueName) const;
    void Save(std::string_view keyPath, std::string_view valueName, std::uint32_t type,
              std::string data);

    std::filesystem::path m_file;
};

} // namespace slidesmith::settings
