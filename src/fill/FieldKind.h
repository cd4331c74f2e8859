#pragma once

// How a field's value is treated when it is written to a cell, decided by the classic
// data-type code the data access layer reports for the field.
namespace slidesmith::fill {

enum class ValueKind {
    Other = 0,
    Number = 1, // gets the positive, negative and zero colours of its template text
    Text = 2,   // text and binary
    Date = 3,
};

ValueKind ClassifyField(int typeCode);

} // namespace slidesmith::fill
