#include "ui/TextSearch.h"

namespace slidesmith::ui {

namespace {

bool IsWordCharacter(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

bool IsWholeWordAt(const QString& text, qsizetype position, qsizetype length) {
    const bool startsWord = position == 0 || !IsWordCharacter(text[position - 1]);
    const qsizetype end = position + length;
    const bool endsWord = end >= text.size() || !IsWordCharacter(text[end]);
    return startsWord && endsWord;
}

Qt::CaseSensitivity Sensitivity(bool matchCase) {
    return matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// First occurrence at or after the 0-based from.
std::optional<qsizetype> FindForward(const QString& text, const QString& what, qsizetype from,
                                     const SearchOptions& options) {
    qsizetype found = text.indexOf(what, from, Sensitivity(options.MatchCase));
    while (found >= 0 && options.WholeWord && !IsWholeWordAt(text, found, what.size())) {
        found = text.indexOf(what, found + 1, Sensitivity(options.MatchCase));
    }
    return found >= 0 ? std::optional<qsizetype>(found) : std::nullopt;
}

// Last occurrence beginning at or before the 0-based from.
std::optional<qsizetype> FindBackward(const QString& text, const QString& what, qsizetype from,
                                      const SearchOptions& options) {
    if (from < 0) {
        return std::nullopt;
    }
    qsizetype found = text.lastIndexOf(what, from, Sensitivity(options.MatchCase));
    while (found > 0 && options.WholeWord && !IsWholeWordAt(text, found, what.size())) {
        found = text.lastIndexOf(what, found - 1, Sensitivity(options.MatchCase));
    }
    if (found == 0 && options.WholeWord && !IsWholeWordAt(text, 0, what.size())) {
        found = -1;
    }
    return found >= 0 ? std::optional<qsizetype>(found) : std::nullopt;
}

} // namespace

qsizetype SearchStart(qsizetype selectionStart, qsizetype selectionLength, qsizetype textLength,
                      SearchDirection direction) {
    if (direction == SearchDirection::Down) {
        return selectionStart + selectionLength + 1;
    }
    return selectionStart < 1 ? textLength : selectionStart;
}

std::optional<qsizetype> FindText(const QString& text, const QString& what, qsizetype start,
                                  const SearchOptions& options) {
    if (what.isEmpty()) {
        return std::nullopt;
    }
    if (options.Direction == SearchDirection::Down) {
        if (auto found = FindForward(text, what, start - 1, options)) {
            return found;
        }
        // From the very top a second pass would only repeat the first.
        if (options.Wrap && start >= 2) {
            return FindForward(text, what, 0, options);
        }
        return std::nullopt;
    }
    if (auto found = FindBackward(text, what, start - 1, options)) {
        return found;
    }
    if (options.Wrap && start < text.size()) {
        return FindBackward(text, what, text.size() - 1, options);
    }
    return std::nullopt;
}

bool IsOccurrence(const QString& selected, const QString& what, bool matchCase) {
    return !what.isEmpty() && selected.compare(what, Sensitivity(matchCase)) == 0;
}

int ReplaceAll(QString& text, const QString& what, const QString& replacement,
               const SearchOptions& options) {
    if (what.isEmpty()) {
        return 0;
    }
    QString result;
    result.reserve(text.size());
    int count = 0;
    qsizetype copied = 0;
    qsizetype from = 0;
    while (auto found = FindForward(text, what, from, options)) {
        result += QStringView(text).mid(copied, *found - copied);
        result += replacement;
        copied = *found + what.size();
        from = copied;
        ++count;
    }
    result += QStringView(text).mid(copied);
    text = result;
    return count;
}

std::vector<LabelEntry> FindStatementLabels(const QString& text) {
    std::vector<LabelEntry> entries{{QStringLiteral("(Top)"), 0}};
    bool inComment = false;
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), lineStart);
        if (lineEnd < 0) {
            lineEnd = text.size();
        }
        const QStringView line = QStringView(text).mid(lineStart, lineEnd - lineStart);
        // Labels are looked for only on lines that begin outside a comment; a line that ends
        // a comment cannot begin a statement after the "*/".
        if (!inComment) {
            qsizetype at = 0;
            while (at < line.size() && line[at].isSpace()) {
                ++at;
            }
            const qsizetype equals = line.indexOf(QLatin1Char('='), at);
            if (at < line.size() && line[at] == QLatin1Char('@') && equals > at) {
                entries.push_back({line.mid(at, equals - at).trimmed().toString(), lineStart + at});
            }
        }
        QChar quote;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
            if (inComment) {
                if (c == QLatin1Char('*') && next == QLatin1Char('/')) {
                    inComment = false;
                    ++i;
                }
            } else if (!quote.isNull()) {
                if (c == quote) {
                    quote = QChar();
                }
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
                inComment = true;
                ++i;
            }
        }
        lineStart = lineEnd + 1;
    }
    entries.push_back({QStringLiteral("(Bottom)"), text.size()});
    return entries;
}

int CountLines(const QString& text) {
    return static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
}

qsizetype LineStart(const QString& text, int line) {
    if (line < 1 || line > CountLines(text)) {
        return -1;
    }
    qsizetype position = 0;
    for (int current = 1; current < line; ++current) {
        position = text.indexOf(QLatin1Char('\n'), position) + 1;
    }
    return position;
}

} // namespace slidesmith::ui
