#pragma once

#include <QString>
#include <optional>
#include <vector>

// The editor's searching and navigation on its plain text, kept apart from the widgets so the
// rules (where a search starts, when it wraps, what counts as a statement label) are plain
// functions of a text.
namespace slidesmith::ui {

enum class SearchDirection { Down = 0, Up = 1 };

struct SearchOptions {
    SearchDirection Direction = SearchDirection::Down;
    bool MatchCase = false;
    // Only matches with no letter, digit or underscore right before and after them.
    bool WholeWord = false;
    bool Wrap = true;
};

// The search settings the program keeps from one search to the next.
struct SearchSettings {
    QString FindText;
    SearchOptions Options;
};

// Where a search begins, as a 1-based position, given the editor's 0-based selection: just
// after the selection when searching down; when searching up the selection start, so only
// occurrences before the selection are found, or the whole text when the selection is at 0.
qsizetype SearchStart(qsizetype selectionStart, qsizetype selectionLength, qsizetype textLength,
                      SearchDirection direction);

// Finds what in text from the 1-based start position. Down: the first occurrence at or after
// start, else (with wrap, and only when start is past the first character) the first from the
// top. Up: the last occurrence beginning at or before start, else (with wrap, when start is
// before the end) the last in the text. Returns the 0-based position of the match.
std::optional<qsizetype> FindText(const QString& text, const QString& what, qsizetype start,
                                  const SearchOptions& options);

// Whether the selected text is an occurrence of what under the match-case rule.
bool IsOccurrence(const QString& selected, const QString& what, bool matchCase);

// Replaces every occurrence from the top in one pass: replacements are not searched again, so
// replacing a by ab ends. Returns the number replaced.
int ReplaceAll(QString& text, const QString& what, const QString& replacement,
               const SearchOptions& options);

// One entry of the go-to list.
struct LabelEntry {
    QString Label;
    qsizetype Position = 0; // 0-based text position the caret moves to
};

// "(Top)", every statement label in text order, then "(Bottom)". A label line is one whose
// first non-blank character is "@" outside any /* */ comment and that has a "=" after it; the
// label is the text before the "=", trimmed, "@" included. Comments may span lines; a quoted
// run on one line hides a "/*" inside it.
std::vector<LabelEntry> FindStatementLabels(const QString& text);

// The number of lines of the text (an empty text has one).
int CountLines(const QString& text);

// The 0-based position of the start of 1-based line number line; -1 when out of range.
qsizetype LineStart(const QString& text, int line);

} // namespace slidesmith::ui
