#pragma once

#include "fill/FixedTableFill.h"
#include "fill/GrowingTableFill.h"
#include "platform/odbc/FieldValue.h"
#include "platform/pptx/Presentation.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Builds table templates from a real presentation, runs the table fills on them with rows held
// in memory, and reads the outcome back from the saved file.
namespace slidesmith::fill::testing {

// Rows held in memory, in the form a fully fetched query hands them to the fills.
class MemoryRecords final : public RecordSource {
public:
    MemoryRecords() = default;
    MemoryRecords(std::vector<int> typeCodes, std::vector<std::vector<odbc::FieldValue>> rows)
        : m_typeCodes(std::move(typeCodes)), m_rows(std::move(rows)) {}
    std::size_t RecordCount() const override { return m_rows.size(); }
    std::size_t FieldCount() const override { return m_typeCodes.size(); }
    int FieldTypeCode(std::size_t field) const override { return m_typeCodes.at(field); }
    // "Field1", "Field2", ... unless names were set.
    std::string FieldName(std::size_t field) const override {
        return field < names.size() ? names[field] : "Field" + std::to_string(field + 1);
    }
    std::vector<std::string> names;
    odbc::FieldValue ReadValue(std::size_t field) override {
        return m_rows.at(m_position).at(field);
    }
    void MoveNext() override { ++m_position; }
    void Close() override { m_closed = true; }
    bool Closed() const { return m_closed; }
    std::size_t Position() const { return m_position; }

private:
    std::vector<int> m_typeCodes;
    std::vector<std::vector<odbc::FieldValue>> m_rows;
    std::size_t m_position = 0;
    bool m_closed = false;
};

// An integer field (type code 3) and a text field (200) per record: (k, "name k").
MemoryRecords NumberedRecords(int count, int first = 1);

class RecordingReporter final : public FillReporter {
public:
    void WriteLine(std::string_view text) override { lines.emplace_back(text); }
    void LogError(std::string_view message, std::string_view information) override {
        errors.emplace_back(std::string(message), std::string(information));
    }
    void ShowRecordProgress(std::string_view text) override { progress.emplace_back(text); }
    void LetPendingEventsRun() override { ++yields; }
    bool Interrupted() const override {
        return interruptAfterYields >= 0 && yields >= interruptAfterYields;
    }

    std::vector<std::string> lines;
    std::vector<std::pair<std::string, std::string>> errors;
    std::vector<std::string> progress;
    int yields = 0;
    int interruptAfterYields = -1; // the End button, pressed during that many-th record
};

using TableTexts = std::vector<std::vector<std::string>>;

// A fill run on a copy of a real presentation.
class FillHarness {
public:
    FillHarness() = default;
    FillHarness(const FillHarness&) = delete;
    FillHarness& operator=(const FillHarness&) = delete;
    ~FillHarness(); // removes the saved files
    // Opens the shared fixture with plain tables; false (and the test should skip) without it.
    bool Open();
    // Sets the table on slide `slide` (0-based) to `rows` rows of texts (its column count stays;
    // missing texts are empty).
    void ShapeTable(std::size_t slide, const TableTexts& rows);
    // Colours bytes [start, start + length) of a cell's text.
    void ColourCell(std::size_t slide, std::size_t row, std::size_t column, std::size_t start,
                    std::size_t length, std::uint32_t rgb);
    TableFillResult RunFixed(std::size_t slide);
    TableFillResult RunGrowing(std::size_t slide);
    // Saves, reopens the saved file and returns it (every test's outcome is read from disk).
    pptx::Presentation& SaveAndReopen();
    TableTexts Texts(std::size_t slide);
    std::uint32_t TextColour(std::size_t slide, std::size_t row, std::size_t column);
    std::size_t SlideCount() { return m_presentation->SlideCount(); }
    pptx::Presentation& Presentation() { return *m_presentation; }

    script::StatementRecord statement;
    MemoryRecords records;
    RecordingReporter reporter;
    FillOptions options;
    std::filesystem::path savedPath;

private:
    TableFillResult Run(std::size_t slide, TableFillResult (*fill)(TableFillContext&));
    std::unique_ptr<pptx::Presentation> m_presentation;
};

// The template slides of the fixture: two slides with a 4x4 and a 3x3 plain table between them.
inline constexpr std::size_t kFirstTableSlide = 0;
inline constexpr std::size_t kSecondTableSlide = 2;

} // namespace slidesmith::fill::testing
