#include "platform/odbc/ConnectionString.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace slidesmith::odbc {

namespace {

struct Pair {
    std::string key;   // trimmed, as written
    std::string value; // unquoted
    std::string raw;   // the segment exactly as written, without its ";"
};

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           }) != text.end();
}

// Reads a value starting at `pos`: {braced} with "}}" for a literal brace (ODBC), "quoted" or
// 'quoted' with the quote doubled (OLE DB), or plain text up to the next ";".
std::string ReadValue(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    std::string value;
    if (pos < text.size() && (text[pos] == '{' || text[pos] == '"' || text[pos] == '\'')) {
        const char close = text[pos] == '{' ? '}' : text[pos];
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] == close) {
                if (pos + 1 < text.size() && text[pos + 1] == close) {
                    value += close;
                    ++pos;
                    continue;
                }
                ++pos;
                break;
            }
            value += text[pos];
        }
        // Anything between the closing quote and the ";" is ignored, as drivers do.
        while (pos < text.size() && text[pos] != ';') {
            ++pos;
        }
        return value;
    }
    const std::size_t end = std::min(text.find(';', pos), text.size());
    value = std::string(Trim(text.substr(pos, end - pos)));
    pos = end;
    return value;
}

std::vector<Pair> Parse(std::string_view text) {
    std::vector<Pair> pairs;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        const std::size_t equals = text.find('=', pos);
        const std::size_t semicolon = text.find(';', pos);
        if (equals == std::string_view::npos || equals > semicolon) {
            // A segment without "=" carries no setting; keep it as written.
            const std::size_t end = std::min(semicolon, text.size());
            if (!Trim(text.substr(start, end - start)).empty()) {
                pairs.push_back({"", "", std::string(text.substr(start, end - start))});
            }
            pos = end + 1;
            continue;
        }
        Pair pair;
        pair.key = std::string(Trim(text.substr(pos, equals - pos)));
        pos = equals + 1;
        pair.value = ReadValue(text, pos);
        pair.raw = std::string(text.substr(start, pos - start));
        if (!Trim(pair.raw).empty()) {
            pairs.push_back(std::move(pair));
        }
        ++pos; // past the ";"
    }
    return pairs;
}

std::string QuoteValue(std::string_view value) {
    const bool needsBraces = value.find_first_of(";{}") != std::string_view::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!needsBraces) {
        return std::string(value);
    }
    std::string quoted = "{";
    for (char c : value) {
        quoted += c;
        if (c == '}') {
            quoted += '}';
        }
    }
    return quoted + "}";
}

std::string MakePair(std::string_view key, std::string_view value) {
    return std::string(key) + "=" + QuoteValue(value);
}

std::string Join(const std::vector<std::string>& segments) {
    std::string text;
    for (const std::string& segment : segments) {
        if (!text.empty()) {
            text += ';';
        }
        text += segment;
    }
    return text;
}

std::optional<std::string> FindValue(const std::vector<Pair>& pairs, std::string_view key) {
    for (const Pair& pair : pairs) {
        if (SameKey(pair.key, key)) {
            return pair.value;
        }
    }
    return std::nullopt;
}

bool IsPasswordKey(std::string_view key) {
    return SameKey(key, "PWD") || SameKey(key, "Password");
}

} // namespace

std::string ToOdbcConnectionString(std::string_view connectionString) {
    struct Rename {
        std::string_view from;
        std::string_view to;
    };
    static constexpr Rename kRenames[] = {{"Data Source", "DSN"},
                                          {"User ID", "UID"},
                                          {"Password", "PWD"},
                                          {"Initial Catalog", "DATABASE"}};
    std::vector<std::string> segments;
    for (const Pair& pair : Parse(connectionString)) {
        if (SameKey(pair.key, "Provider") || SameKey(pair.key, "Persist Security Info")) {
            continue;
        }
        if (SameKey(pair.key, "Extended Properties")) {
            if (!Trim(pair.value).empty()) {
                segments.push_back(ToOdbcConnectionString(pair.value));
            }
            continue;
        }
        const auto rename =
            std::find_if(std::begin(kRenames), std::end(kRenames),
                         [&](const Rename& r) { return SameKey(pair.key, r.from); });
        std::string_view key = rename != std::end(kRenames) ? rename->to : pair.key;
        if ((SameKey(key, "UID") || SameKey(key, "PWD")) && pair.value.empty()) {
            continue;
        }
        segments.push_back(rename != std::end(kRenames) ? MakePair(key, pair.value) : pair.raw);
    }
    return Join(segments);
}

std::string BuildDsnConnectionString(std::string_view dsn, std::string_view user,
                                     std::string_view password) {
    std::string text = MakePair("DSN", dsn);
    if (!user.empty()) {
        text += ";" + MakePair("UID", user) + ";" + MakePair("PWD", password);
    }
    return text;
}

std::string ApplyCredentials(std::string_view odbcConnectionString, std::string_view user,
                             std::string_view password) {
    if (user.empty()) {
        return std::string(odbcConnectionString);
    }
    std::vector<std::string> segments;
    for (const Pair& pair : Parse(odbcConnectionString)) {
        if (SameKey(pair.key, "UID") || SameKey(pair.key, "User ID") || IsPasswordKey(pair.key)) {
            continue;
        }
        segments.push_back(pair.raw);
    }
    segments.push_back(MakePair("UID", user));
    segments.push_back(MakePair("PWD", password));
    return Join(segments);
}

std::string ResolveSqliteDatabase(std::string_view odbcConnectionString,
                                  const std::filesystem::path& folder) {
    const std::vector<Pair> pairs = Parse(odbcConnectionString);
    const std::optional<std::string> driver = FindValue(pairs, "Driver");
    if (!driver || !ContainsNoCase(*driver, "sqlite")) {
        return std::string(odbcConnectionString);
    }
    std::vector<std::string> segments;
    for (const Pair& pair : pairs) {
        if (!SameKey(pair.key, "Database")) {
            segments.push_back(pair.raw);
            continue;
        }
        const std::filesystem::path path(pair.value);
        const bool keep = pair.value.empty() || pair.value == ":memory:" ||
                          pair.value.starts_with("file:") || path.is_absolute();
        segments.push_back(keep ? pair.raw
                                : MakePair(pair.key, (folder / path).lexically_normal().string()));
    }
    if (!FindValue(pairs, "NoCreat")) {
        segments.push_back("NoCreat=1");
    }
    return Join(segments);
}

std::string MaskPasswords(std::string_view connectionString) {
    std::vector<std::string> segments;
    for (const Pair& pair : Parse(connectionString)) {
        segments.push_back(IsPasswordKey(pair.key) ? pair.key + "=***" : pair.raw);
    }
    return Join(segments);
}

} // namespace slidesmith::odbc
