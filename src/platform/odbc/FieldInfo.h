#pragma once

#include <cstdint>
#include <sql.h>
#include <string>

namespace slidesmith::odbc {

// The classic data-type codes that report definitions and their value formatting know fields
// by (the DataTypeEnum numbering). Only the codes this layer hands out are named.
enum class DataType : int {
    Empty = 0,
    SmallInt = 2,
    Integer = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Boolean = 11,
    TinyInt = 16,
    UnsignedTinyInt = 17,
    UnsignedSmallInt = 18,
    UnsignedInt = 19,
    BigInt = 20,
    UnsignedBigInt = 21,
    Guid = 72,
    Binary = 128,
    Char = 129,
    WChar = 130,
    Numeric = 131,
    DbDate = 133,
    DbTime = 134,
    DbTimeStamp = 135,
    VarChar = 200,
    LongVarChar = 201,
    VarWChar = 202,
    LongVarWChar = 203,
    VarBinary = 204,
    LongVarBinary = 205,
};

// Field attribute bits (FieldAttributeEnum numbering).
inline constexpr int kFieldFixed = 0x10;
inline constexpr int kFieldMayBeNull = 0x40;
inline constexpr int kFieldLong = 0x80;

// How a column's values are asked of the driver, and so which FieldValue kind they become.
enum class FetchKind { Integer, Double, Decimal, Text, Binary, Date, Time, Timestamp };

// One field of a recordset: what the fills see through Name, Type and Attributes.
struct FieldInfo {
    std::string name;
    DataType type = DataType::Empty;
    int attributes = 0;
    std::int64_t definedSize = 0; // characters or bytes the column declares; 0 when unknown
    int numericScale = 0;         // digits after the point for Numeric
    FetchKind fetchKind = FetchKind::Text;

    int TypeCode() const { return static_cast<int>(type); }
    bool IsLong() const { return (attributes & kFieldLong) != 0; }
};

// What the driver says about a result column (SQLDescribeCol and SQLColAttribute).
struct ColumnDescription {
    std::string name;
    SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
    SQLULEN size = 0;
    SQLSMALLINT decimalDigits = 0;
    bool isNullable = true;
    bool isUnsigned = false;
    std::string typeName; // the database's own name, e.g. "money"
};

// Columns declared wider than this are read as long fields, in chunks, like the memo columns
// the classic providers flagged long.
inline constexpr SQLULEN kLongColumnThreshold = 8000;

// Maps a column to its classic type code, attributes and fetch kind. Text-like columns of
// unknown type are read as text, so every column can be shown.
FieldInfo MapColumn(const ColumnDescription& column);

} // namespace slidesmith::odbc
