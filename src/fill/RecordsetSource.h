#pragma once

#include "fill/RecordSource.h"
#include "platform/odbc/Recordset.h"

// The rows of an executed query as the table fills read them.
namespace slidesmith::fill {

class RecordsetSource final : public RecordSource {
public:
    // The recordset stays the caller's; Close closes it.
    explicit RecordsetSource(odbc::Recordset& recordset) : m_recordset(&recordset) {}
    std::size_t RecordCount() const override { return m_recordset->RecordCount(); }
    std::size_t FieldCount() const override { return m_recordset->FieldCount(); }
    int FieldTypeCode(std::size_t field) const override;
    std::string FieldName(std::size_t field) const override;
    // A long field (memo, large binary) is read piece by piece until a piece comes back null or
    // empty, and its value starts as empty text, so a null one is written as an empty cell.
    odbc::FieldValue ReadValue(std::size_t field) override;
    void MoveNext() override { m_recordset->MoveNext(); }
    void Close() override;

private:
    odbc::Recordset* m_recordset;
};

} // namespace slidesmith::fill
