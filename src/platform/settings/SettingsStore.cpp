#include "platform/settings/SettingsStore.h"

#include "platform/files/FileIo.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace slidesmith::settings {
namespace {

namespace fs = std::filesystem;

// Holds an exclusive flock on a side file for its lifetime. The lock sits on a separate file
// because the settings file itself is replaced by rename, which would leave a lock on the old
// inode guarding nothing.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const fs::path& lockFile) {
        m_fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            return;
        int result;
        do {
            result = flock(m_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        m_locked = result == 0;
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;
    ~ExclusiveLock() {
        if (m_fd >= 0)
            close(m_fd); // closing releases the lock
    }
    bool IsLocked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

// The leading decimal number of a text, the way classic BASIC's Val reads it.
double LeadingNumber(std::string_view text) {
    std::size_t pos = 0;
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    std::size_t start = pos;
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && isDigit(text[pos]))
            ++pos;
    }
    if (pos == start || (pos == start + 1 && text[start] == '.'))
        return 0;
    // An exponent counts only when at least one digit follows it.
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            pos = exponent;
            while (pos < text.size() && isDigit(text[pos]))
                ++pos;
        }
    }
    double value = 0;
    std::from_chars(text.data() + start, text.data() + pos, value);
    return negative ? -value : value;
}

std::optional<std::int32_t> ToInt32(double value) {
    double rounded = std::nearbyint(value); // the default rounding mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t FromLittleEndian(std::string_view bytes) {
    std::uint32_t number = 0;
    for (std::size_t i = 4; i-- > 0;)
        number = number * 256 + static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(number);
}

std::string ToLittleEndian(std::int32_t number) {
    auto bits = static_cast<std::uint32_t>(number);
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

fs::path SettingsStore::DefaultPath() {
    const char* overridePath = std::getenv("SLIDESMITH_SETTINGS");
    if (overridePath != nullptr && *overridePath != '\0')
        return overridePath;
    fs::path configHome;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && fs::path(xdg).is_absolute()) {
        configHome = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0')
            return {};
        configHome = fs::path(home) / ".config";
    }
    return configHome / "slidesmith" / "settings.reg";
}

std::optional<StoredValue> SettingsStore::Read(std::string_view keyPath,
                                               std::string_view valueName) const {
    if (m_file.empty())
        return std::nullopt;
    try {
        SettingsFile file = SettingsFile::Parse(files::ReadWholeFile(m_file));
        const StoredValue* value = file.Find(keyPath, valueName);
        if (value != nullptr)
            return *value;
    } catch (const files::FileError&) {
        // A missing or unreadable file is a store without values: the caller's default applies.
    }
    return std::nullopt;
}

void SettingsStore::Save(std::string_view keyPath, std::string_view valueName, std::uint32_t type,
                         std::string data) {
    if (m_file.empty())
        return;
    std::error_code ignored;
    fs::create_directories(m_file.parent_path(), ignored);
    ExclusiveLock lock(fs::path(m_file.string() + ".lock"));
    if (!lock.IsLocked())
        return;
    try {
        std::string current;
        // A file that exists but cannot be read must not be replaced by one holding a single value.
        if (fs::exists(m_file, ignored) || ignored)
            current = files::ReadWholeFile(m_file);
        SettingsFile file = SettingsFile::Parse(current);
        file.Set(keyPath, valueName, type, std::move(data));
        files::WriteFileAtomically(m_file, file.Format());
    } catch (const files::FileError&) {
        // Settings are a convenience: a read-only home or full disk keeps the old values.
    }
}

std::string SettingsStore::GetSettingText(std::string_view keyPath, std::string_view valueName,
                                          std::string_view defaultText) const {
    std::optional<StoredValue> value = Read(keyPath, valueName);
    if (!value || value->type != kTextType)
        return std::string(defaultText);
    return value->data.substr(0, value->data.find('\0'));
}

std::int32_t SettingsStore::GetSettingNumber(std::string_view keyPath, std::string_view valueName,
                                             std::int32_t defaultNumber) const {
    std::optional<StoredValue> value = Read(keyPath, valueName);
    if (!value)
        return defaultNumber;
    if (value->type == kTextType) {
        std::string_view text(value->data);
        return ToInt32(LeadingNumber(text.substr(0, text.find('\0')))).value_or(defaultNumber);
    }
    if ((value->type == kNumberType || value->type == kBinaryType) && value->data.size() == 4)
        return FromLittleEndian(value->data);
    return defaultNumber;
}

void SettingsStore::SaveSettingText(std::string_view keyPath, std::string_view valueName,
                                    std::string_view text) {
    Save(keyPath, valueName, kTextType, std::string(text));
}

void SettingsStore::SaveSettingNumber(std::string_view keyPath, std::string_view valueName,
                                      std::int32_t number) {
    Save(keyPath, valueName, kNumberType, ToLittleEndian(number));
}

} // namespace slidesmith::settings
