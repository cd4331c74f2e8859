#pragma once

#include "platform/odbc/FieldValue.h"

#include <cstddef>
#include <string>

// The rows of a query as the table fills read them: a count known in advance, the fields' type
// codes, and a cursor that only moves forward from the first record.
namespace slidesmith::fill {

class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual std::size_t RecordCount() const = 0;
    virtual std::size_t FieldCount() const = 0;
    // The classic data-type code of a field (see ClassifyField).
    virtual int FieldTypeCode(std::size_t field) const = 0;
    // The field's name as the query gives it (IMAGE and GROUP may name fields).
    virtual std::string FieldName(std::size_t field) const = 0;
    // The whole value of a field of the current record; a long field is read in full. Throws
    // (the data layer's exception) past the last record.
    virtual odbc::FieldValue ReadValue(std::size_t field) = 0;
    virtual void MoveNext() = 0;
    // Releases the rows; a fill closes its source on every way out.
    virtual void Close() = 0;
};

} // namespace slidesmith::fill
