#include "platform/odbc/FieldInfo.h"

#include <algorithm>
#include <cctype>
#include <sqlext.h>
#include <sqlucode.h>

namespace slidesmith::odbc {

namespace {

struct Mapping {
    DataType type;
    FetchKind fetchKind;
};

bool IsMoneyType(std::string typeName) {
    std::transform(typeName.begin(), typeName.end(), typeName.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return typeName == "money" || typeName == "smallmoney";
}

DataType Signed(DataType signedType, DataType unsignedType, bool isUnsigned) {
    return isUnsigned ? unsignedType : signedType;
}

Mapping MapType(const ColumnDescription& column) {
    // A column whose width the driver cannot tell (size 0) may hold anything, so it is long too.
    const bool isLong = column.size == 0 || column.size > kLongColumnThreshold;
    switch (column.sqlType) {
    case SQL_INTEGER:
        return {Signed(DataType::Integer, DataType::UnsignedInt, column.isUnsigned),
                FetchKind::Integer};
    case SQL_SMALLINT:
        return {Signed(DataType::SmallInt, DataType::UnsignedSmallInt, column.isUnsigned),
                FetchKind::Integer};
    case SQL_TINYINT:
        return {Signed(DataType::TinyInt, DataType::UnsignedTinyInt, column.isUnsigned),
                FetchKind::Integer};
    case SQL_BIGINT:
        return {Signed(DataType::BigInt, DataType::UnsignedBigInt, column.isUnsigned),
                FetchKind::Integer};
    case SQL_BIT:
        return {DataType::Boolean, FetchKind::Integer};
    case SQL_DOUBLE:
    case SQL_FLOAT:
        return {IsMoneyType(column.typeName) ? DataType::Currency : DataType::Double,
                FetchKind::Double};
    case SQL_REAL:
        return {DataType::Single, FetchKind::Double};
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        return {IsMoneyType(column.typeName) ? DataType::Currency : DataType::Numeric,
                FetchKind::Decimal};
    case SQL_CHAR:
        return {isLong ? DataType::LongVarChar : DataType::Char, FetchKind::Text};
    case SQL_WCHAR:
        return {isLong ? DataType::LongVarWChar : DataType::WChar, FetchKind::Text};
    case SQL_VARCHAR:
        return {isLong ? DataType::LongVarChar : DataType::VarChar, FetchKind::Text};
    case SQL_WVARCHAR:
        return {isLong ? DataType::LongVarWChar : DataType::VarWChar, FetchKind::Text};
    case SQL_LONGVARCHAR:
        return {DataType::LongVarChar, FetchKind::Text};
    case SQL_WLONGVARCHAR:
        return {DataType::LongVarWChar, FetchKind::Text};
    case SQL_BINARY:
        return {isLong ? DataType::LongVarBinary : DataType::Binary, FetchKind::Binary};
    case SQL_VARBINARY:
        return {isLong ? DataType::LongVarBinary : DataType::VarBinary, FetchKind::Binary};
    case SQL_LONGVARBINARY:
        return {DataType::LongVarBinary, FetchKind::Binary};
    case SQL_TYPE_DATE:
    case SQL_DATE:
        return {DataType::DbDate, FetchKind::Date};
    case SQL_TYPE_TIME:
    case SQL_TIME:
        return {DataType::DbTime, FetchKind::Time};
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
        return {DataType::DbTimeStamp, FetchKind::Timestamp};
    case SQL_GUID:
        return {DataType::Guid, FetchKind::Text};
    default:
        // Intervals, XML and driver-specific types: their text form is what a report can show.
        return {isLong ? DataType::LongVarWChar : DataType::VarWChar, FetchKind::Text};
    }
}

} // namespace

FieldInfo MapColumn(const ColumnDescription& column) {
    const Mapping mapping = MapType(column);
    FieldInfo field;
    field.name = column.name;
    field.type = mapping.type;
    field.fetchKind = mapping.fetchKind;
    field.definedSize = static_cast<std::int64_t>(column.size);
    field.numericScale = mapping.type == DataType::Numeric ? column.decimalDigits : 0;
    switch (mapping.type) {
    case DataType::LongVarChar:
    case DataType::LongVarWChar:
    case DataType::LongVarBinary:
        field.attributes |= kFieldLong;
        break;
    case DataType::VarChar:
    case DataType::VarWChar:
    case DataType::VarBinary:
        break;
    default:
        field.attributes |= kFieldFixed;
        break;
    }
    if (column.isNullable) {
        field.attributes |= kFieldMayBeNull;
    }
    return field;
}

} // namespace slidesmith::odbc
