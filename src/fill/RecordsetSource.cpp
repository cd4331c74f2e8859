#include "fill/RecordsetSource.h"

#include <string>
#include <vector>

namespace slidesmith::fill {

namespace {

// Pieces of a long field, as the classic readers asked for them.
constexpr std::size_t kChunkSize = 16384;

} // namespace

int RecordsetSource::FieldTypeCode(std::size_t field) const {
    return m_recordset->Field(field).TypeCode();
}

std::string RecordsetSource::FieldName(std::size_t field) const {
    return m_recordset->Field(field).name;
}

odbc::FieldValue RecordsetSource::ReadValue(std::size_t field) {
    if (!m_recordset->Field(field).IsLong()) {
        return m_recordset->Value(field);
    }
    std::string text;
    std::vector<std::uint8_t> bytes;
    bool binary = false;
    for (;;) {
        const odbc::FieldValue chunk = m_recordset->GetChunk(field, kChunkSize);
        if (chunk.Kind() == odbc::FieldValueKind::Text && !chunk.AsText().empty()) {
            text += chunk.AsText();
        } else if (chunk.Kind() == odbc::FieldValueKind::Binary && !chunk.AsBinary().empty()) {
            binary = true;
            bytes.insert(bytes.end(), chunk.AsBinary().begin(), chunk.AsBinary().end());
        } else {
            break;
        }
    }
    return binary ? odbc::FieldValue::FromBinary(std::move(bytes))
                  : odbc::FieldValue::FromText(std::move(text));
}

void RecordsetSource::Close() {
    if (m_recordset->IsOpen()) {
        m_recordset->Close();
    }
}

} // namespace slidesmith::fill
