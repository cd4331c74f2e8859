#include "platform/odbc/Recordset.h"

#include "platform/odbc/OdbcError.h"

#include <algorithm>
#include <cctype>

namespace slidesmith::odbc {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// Advances over up to `count` UTF-8 characters from `offset`; returns the end offset.
std::size_t SkipCharacters(const std::string& text, std::size_t offset, std::size_t count) {
    while (offset < text.size() && count > 0) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) {
            ++offset;
        }
        --count;
    }
    return offset;
}

} // namespace

Recordset::Recordset(std::vector<FieldInfo> fields, std::vector<FieldValue> values)
    : m_fields(std::move(fields)), m_values(std::move(values)), m_isOpen(true) {
    m_recordCount = m_fields.empty() ? 0 : m_values.size() / m_fields.size();
    m_chunkOffsets.assign(m_fields.size(), 0);
}

void Recordset::Close() {
    m_fields.clear();
    m_values.clear();
    m_chunkOffsets.clear();
    m_recordCount = 0;
    m_position = 0;
    m_isOpen = false;
}

const FieldInfo& Recordset::Field(std::size_t index) const {
    if (index >= m_fields.size()) {
        throw OdbcError("Field " + std::to_string(index + 1) +
                        " does not exist: the recordset has " + std::to_string(m_fields.size()) +
                        " fields");
    }
    return m_fields[index];
}

std::optional<std::size_t> Recordset::FindField(std::string_view name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (SameName(m_fields[i].name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

void Recordset::MoveFirst() {
    m_position = 0;
    ResetChunks();
}

void Recordset::MoveNext() {
    if (AtEnd()) {
        throw OdbcError("Cannot move past the last record: the recordset is at its end");
    }
    ++m_position;
    ResetChunks();
}

const FieldValue& Recordset::Value(std::size_t field) const {
    const FieldInfo& info = Field(field);
    if (AtEnd()) {
        throw OdbcError("Cannot read field \"" + info.name +
                        "\": there is no current record (the recordset is at its end)");
    }
    return m_values[m_position * m_fields.size() + field];
}

FieldValue Recordset::GetChunk(std::size_t field, std::size_t size) {
    const FieldValue& value = Value(field);
    if (!m_fields[field].IsLong()) {
        throw OdbcError("Cannot read field \"" + m_fields[field].name +
                        "\" in pieces: it is not a long field");
    }
    std::size_t& offset = m_chunkOffsets[field];
    if (value.Kind() == FieldValueKind::Text) {
        const std::string& text = value.AsText();
        if (offset >= text.size()) {
            return {};
        }
        const std::size_t end = SkipCharacters(text, offset, size);
        FieldValue piece = FieldValue::FromText(text.substr(offset, end - offset));
        offset = end;
        return piece;
    }
    if (value.Kind() == FieldValueKind::Binary) {
        const std::vector<std::uint8_t>& bytes = value.AsBinary();
        if (offset >= bytes.size()) {
            return {};
        }
        const std::size_t end = std::min(bytes.size(), offset + size);
        FieldValue piece = FieldValue::FromBinary(
            std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(end)));
        offset = end;
        return piece;
    }
    return {}; // null
}

void Recordset::ResetChunks() {
    std::fill(m_chunkOffsets.begin(), m_chunkOffsets.end(), 0);
}

} // namespace slidesmith::odbc
