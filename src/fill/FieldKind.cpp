#include "fill/FieldKind.h"

namespace slidesmith::fill {

ValueKind ClassifyField(int typeCode) {
    switch (typeCode) {
    case 2:   // smallint
    case 3:   // integer
    case 4:   // single
    case 5:   // double
    case 6:   // currency
    case 14:  // decimal
    case 16:  // tinyint
    case 17:  // unsigned tinyint
    case 18:  // unsigned smallint
    case 19:  // unsigned int
    case 20:  // bigint
    case 21:  // unsigned bigint
    case 131: // numeric
    case 139: // varnumeric
        return ValueKind::Number;
    case 8:   // BSTR
    case 128: // binary
    case 129: // char
    case 130: // wchar
    case 136: // chapter
    case 200: // varchar
    case 201: // long varchar
    case 202: // varwchar
    case 203: // long varwchar
    case 204: // varbinary
    case 205: // long varbinary
        return ValueKind::Text;
    case 7:   // date (OLE serial)
    case 133: // DB date
        return ValueKind::Date;
    default:
        // Times (134) and timestamps (135) deliberately stay here: the kind only chooses
        // colouring, and the classic table never listed them.
        return ValueKind::Other;
    }
}

} // namespace slidesmith::fill
