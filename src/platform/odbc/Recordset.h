#pragma once

#include "platform/odbc/FieldInfo.h"
#include "platform/odbc/FieldValue.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace slidesmith::odbc {

// The rows of one query, fetched completely when it ran (a client-side cursor): the record
// count is known at once, and moving, rewinding and reading again cost nothing. A closed
// recordset (default-constructed, or after Close) has no fields and no records.
//
// Navigation follows the classic cursor: after opening or MoveFirst the current record is the
// first one, AtEnd() (EOF) is true when there is none, MoveNext at the end and Value at the end
// throw OdbcError, so a fill that walks too far fails with a description instead of reading
// garbage.
class Recordset {
public:
    Recordset() = default;
    // `values` holds the records one after another, fields.size() values each.
    Recordset(std::vector<FieldInfo> fields, std::vector<FieldValue> values);

    bool IsOpen() const { return m_isOpen; }
    void Close();

    std::size_t RecordCount() const { return m_recordCount; }
    std::size_t FieldCount() const { return m_fields.size(); }
    // Throws OdbcError for an index past the last field.
    const FieldInfo& Field(std::size_t index) const;
    // The first field with this name, compared case-insensitively (ASCII), as field names in
    // statements are.
    std::optional<std::size_t> FindField(std::string_view name) const;

    bool AtEnd() const { return m_position >= m_recordCount; }
    std::size_t Position() const { return m_position; }
    void MoveFirst();
    void MoveNext();

    // The value of a field of the current record. Throws OdbcError at the end or for a bad
    // field index.
    const FieldValue& Value(std::size_t field) const;

    // Reads the next piece of a long field of the current record: up to `size` characters of
    // text (whole UTF-8 characters) or `size` bytes of binary data. Returns a null value when
    // the field is null or nothing is left, so callers append until null or empty. Each field
    // keeps its own read position, which moving to another record resets. Throws OdbcError for
    // a field without the long flag.
    FieldValue GetChunk(std::size_t field, std::size_t size);

private:
    void ResetChunks();

    std::vector<FieldInfo> m_fields;
    std::vector<FieldValue> m_values;
    std::vector<std::size_t> m_chunkOffsets; // per field, in bytes of the held value
    std::size_t m_recordCount = 0;
    std::size_t m_position = 0;
    bool m_isOpen = false;
};

} // namespace slidesmith::odbc
