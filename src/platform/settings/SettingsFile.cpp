#include "platform/settings/SettingsFile.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace slidesmith::settings {
namespace {

constexpr std::string_view kHeader = "Slidesmith Settings 1";
constexpr std::string_view kHexDigits = "0123456789abcdef";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

std::string_view Trim(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the well-formed UTF-8 sequence starting at text[i], or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = i + 2; k < i + length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    }
    return length;
}

void AppendHexByte(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            std::size_t length = Utf8SequenceLength(text, i);
            if (length > 0) {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
        }
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                out += "\\x";
                AppendHexByte(out, c);
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

// Reads a quoted text starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> Unquote(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"')
        return std::nullopt;
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\' || pos + 1 >= text.size()) {
            out += c;
            continue;
        }
        char escaped = text[++pos];
        switch (escaped) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            int high = pos + 2 < text.size() ? HexValue(text[pos + 1]) : -1;
            int low = high >= 0 ? HexValue(text[pos + 2]) : -1;
            if (low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            pos += 2;
            break;
        }
        default:
            out += escaped; // \\ and \" and anything written by hand
        }
    }
    return std::nullopt; // no closing quote
}

std::string FormatBytes(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
    }
    return out;
}

// "01,02, ff" -> bytes; nullopt when anything but two-digit hex pairs appears.
std::optional<std::string> ParseBytes(std::string_view text) {
    std::string out;
    text = Trim(text);
    while (!text.empty()) {
        std::size_t comma = text.find(',');
        std::string_view item = Trim(text.substr(0, comma));
        if (item.size() != 2 || HexValue(item[0]) < 0 || HexValue(item[1]) < 0)
            return std::nullopt;
        out += static_cast<char>(HexValue(item[0]) * 16 + HexValue(item[1]));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

std::optional<std::uint32_t> ParseHexNumber(std::string_view text, std::size_t maxDigits) {
    text = Trim(text);
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit = HexValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string FormatValueData(const StoredValue& value) {
    if (value.type == kTextType)
        return Quote(value.data);
    if (value.type == kNumberType && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (std::size_t i = 4; i-- > 0;)
            number = number * 256 + static_cast<unsigned char>(value.data[i]);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        return buffer;
    }
    if (value.type == kBinaryType)
        return "hex:" + FormatBytes(value.data);
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    return prefix + FormatBytes(value.data);
}

std::optional<StoredValue> ParseValueLine(std::string_view line) {
    StoredValue value;
    std::size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else {
        std::optional<std::string> name = Unquote(line, pos);
        if (!name)
            return std::nullopt;
        value.name = std::move(*name);
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return std::nullopt;
    std::string_view data = Trim(line.substr(pos + 1));
    if (!data.empty() && data.front() == '"') {
        std::size_t dataPos = 0;
        std::optional<std::string> text = Unquote(data, dataPos);
        if (!text || !Trim(data.substr(dataPos)).empty())
            return std::nullopt;
        value.type = kTextType;
        value.data = std::move(*text);
        return value;
    }
    std::optional<std::string> bytes;
    if (data.starts_with("dword:")) {
        std::optional<std::uint32_t> number = ParseHexNumber(data.substr(6), 8);
        if (!number)
            return std::nullopt;
        value.type = kNumberType;
        for (int i = 0; i < 4; ++i)
            value.data += static_cast<char>((*number >> (8 * i)) & 0xFF);
        return value;
    }
    if (data.starts_with("hex:")) {
        value.type = kBinaryType;
        bytes = ParseBytes(data.substr(4));
    } else if (data.starts_with("hex(")) {
        std::size_t close = data.find("):");
        std::optional<std::uint32_t> type = close == std::string_view::npos
                                                ? std::nullopt
                                                : ParseHexNumber(data.substr(4, close - 4), 8);
        if (!type)
            return std::nullopt;
        value.type = *type;
        bytes = ParseBytes(data.substr(close + 2));
    }
    if (!bytes)
        return std::nullopt;
    value.data = std::move(*bytes);
    return value;
}

} // namespace

std::string NormalizeKeyPath(std::string_view keyPath) {
    std::string out;
    while (!keyPath.empty()) {
        std::size_t slash = keyPath.find('\\');
        std::string_view level = keyPath.substr(0, slash);
        if (!level.empty()) {
            if (!out.empty())
                out += '\\';
            out.append(level);
        }
        if (slash == std::string_view::npos)
            break;
        keyPath.remove_prefix(slash + 1);
    }
    return out;
}

SettingsFile SettingsFile::Parse(std::string_view text) {
    SettingsFile file;
    Key* current = nullptr;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line == kHeader)
            continue;
        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) {
                current = nullptr; // values below a broken header belong to no known key
                continue;
            }
            std::string path = NormalizeKeyPath(line.substr(1, close - 1));
            current = file.FindKey(path);
            if (current == nullptr) {
                file.m_keys.push_back(Key{std::move(path), {}});
                current = &file.m_keys.back();
            }
            continue;
        }
        if (current == nullptr)
            continue;
        std::optional<StoredValue> value = ParseValueLine(line);
        if (value)
            file.Set(current->path, value->name, value->type, std::move(value->data));
    }
    return file;
}

std::string SettingsFile::Format() const {
    std::string out(kHeader);
    out += "\n; Per-user settings of Slidesmith, rewritten whole by the program on every change.\n"
           "; [key path] sections hold \"name\"=value lines: \"text\", dword:<hex> numbers,\n"
           "; hex:<bytes> binaries.\n";
    for (const Key& key : m_keys) {
        out += "\n[" + key.path + "]\n";
        for (const StoredValue& value : key.values) {
            out += value.name.empty() ? std::string("@") : Quote(value.name);
            out += '=';
            out += FormatValueData(value);
            out += '\n';
        }
    }
    return out;
}

SettingsFile::Key* SettingsFile::FindKey(std::string_view path) {
    for (Key& key : m_keys) {
        if (EqualsIgnoringCase(key.path, path))
            return &key;
    }
    return nullptr;
}

const StoredValue* SettingsFile::Find(std::string_view keyPath, std::string_view name) const {
    std::string path = NormalizeKeyPath(keyPath);
    for (const Key& key : m_keys) {
        if (!EqualsIgnoringCase(key.path, path))
            continue;
        for (const StoredValue& value : key.values) {
            if (EqualsIgnoringCase(value.name, name))
                return &value;
        }
    }
    return nullptr;
}

void SettingsFile::Set(std::string_view keyPath, std::string_view name, std::uint32_t type,
                       std::string data) {
    std::string path = NormalizeKeyPath(keyPath);
    Key* key = FindKey(path);
    if (key == nullptr) {
        m_keys.push_back(Key{std::move(path), {}});
        key = &m_keys.back();
    }
    for (StoredValue& value : key->values) {
        if (EqualsIgnoringCase(value.name, name)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    key->values.push_back(StoredValue{std::string(name), type, std::move(data)});
}

} // namespace slidesmith::settings
