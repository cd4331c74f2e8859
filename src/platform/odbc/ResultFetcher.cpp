#include "platform/odbc/ResultFetcher.h"

#include "platform/odbc/OdbcError.h"
#include "platform/odbc/WideText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <sqlext.h>

namespace slidesmith::odbc {

namespace {

// Bound buffers of one block stay below this, so a result with many wide columns fetches fewer
// rows per call instead of allocating without bound.
constexpr std::size_t kBlockBufferBytes = 8u << 20;

struct CType {
    SQLSMALLINT code;
    std::size_t terminatorBytes; // what the driver appends after character data
};

CType CTypeOf(FetchKind kind) {
    switch (kind) {
    case FetchKind::Integer:
        return {SQL_C_SBIGINT, 0};
    case FetchKind::Double:
        return {SQL_C_DOUBLE, 0};
    case FetchKind::Decimal:
        // Digits, sign and point are ASCII in any code set, so narrow text is safe here.
        return {SQL_C_CHAR, 1};
    case FetchKind::Text:
        return {SQL_C_WCHAR, sizeof(SQLWCHAR)};
    case FetchKind::Binary:
        return {SQL_C_BINARY, 0};
    case FetchKind::Date:
        return {SQL_C_TYPE_DATE, 0};
    case FetchKind::Time:
        return {SQL_C_TYPE_TIME, 0};
    case FetchKind::Timestamp:
        return {SQL_C_TYPE_TIMESTAMP, 0};
    }
    return {SQL_C_WCHAR, sizeof(SQLWCHAR)};
}

std::size_t FixedSize(FetchKind kind) {
    switch (kind) {
    case FetchKind::Integer:
        return sizeof(std::int64_t);
    case FetchKind::Double:
        return sizeof(double);
    case FetchKind::Date:
        return sizeof(SQL_DATE_STRUCT);
    case FetchKind::Time:
        return sizeof(SQL_TIME_STRUCT);
    case FetchKind::Timestamp:
        return sizeof(SQL_TIMESTAMP_STRUCT);
    default:
        return 0;
    }
}

// Bytes of a bound buffer for one value of an ordinary (not long) field.
std::size_t ElementBytes(const FieldInfo& field) {
    const auto declared = static_cast<std::size_t>(std::max<std::int64_t>(field.definedSize, 1));
    switch (field.fetchKind) {
    case FetchKind::Decimal:
        return std::max<std::size_t>(declared + 3, 48); // sign, point, leading zero
    case FetchKind::Text:
        return (std::max<std::size_t>(declared, field.type == DataType::Guid ? 38 : 1) + 1) *
               sizeof(SQLWCHAR);
    case FetchKind::Binary:
        return declared;
    default:
        return FixedSize(field.fetchKind);
    }
}

template <typename T>
T Read(const unsigned char* data) {
    T value;
    std::memcpy(&value, data, sizeof(T));
    return value;
}

// Turns the bytes the driver wrote for one value into a FieldValue.
FieldValue Convert(const FieldInfo& field, const unsigned char* data, std::size_t length) {
    switch (field.fetchKind) {
    case FetchKind::Integer:
        return FieldValue::FromInteger(Read<std::int64_t>(data));
    case FetchKind::Double:
        return FieldValue::FromDouble(Read<double>(data));
    case FetchKind::Decimal: {
        std::string text(reinterpret_cast<const char*>(data), length);
        text.erase(0, text.find_first_not_of(' '));
        text.erase(text.find_last_not_of(' ') + 1);
        return FieldValue::FromDecimal(std::move(text), field.numericScale);
    }
    case FetchKind::Text: {
        WideString wide(length / sizeof(SQLWCHAR), 0);
        if (!wide.empty()) // an empty text may come with no buffer at all
            std::memcpy(wide.data(), data, wide.size() * sizeof(SQLWCHAR));
        return FieldValue::FromText(WideToUtf8(wide.data(), wide.size()));
    }
    case FetchKind::Binary:
        return FieldValue::FromBinary(std::vector<std::uint8_t>(data, data + length));
    case FetchKind::Date: {
        const auto d = Read<SQL_DATE_STRUCT>(data);
        return FieldValue::FromDate({d.year, d.month, d.day});
    }
    case FetchKind::Time: {
        const auto t = Read<SQL_TIME_STRUCT>(data);
        return FieldValue::FromTime({t.hour, t.minute, t.second});
    }
    case FetchKind::Timestamp: {
        const auto ts = Read<SQL_TIMESTAMP_STRUCT>(data);
        return FieldValue::FromTimestamp(
            {{ts.year, ts.month, ts.day}, {ts.hour, ts.minute, ts.second}, ts.fraction});
    }
    }
    return {};
}

std::string ToText(const SQLCHAR* text, SQLSMALLINT length, std::size_t capacity) {
    const auto used =
        std::min(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), capacity - 1);
    return NarrowToUtf8(text, used);
}

ColumnDescription DescribeColumn(SQLHSTMT statement, SQLUSMALLINT number) {
    ColumnDescription column;
    std::array<SQLCHAR, 512> name{};
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
    CheckResult(SQLDescribeCol(statement, number, name.data(),
                               static_cast<SQLSMALLINT>(name.size()), &nameLength, &column.sqlType,
                               &column.size, &column.decimalDigits, &nullable),
                SQL_HANDLE_STMT, statement, "Describing result column " + std::to_string(number));
    column.name = ToText(name.data(), nameLength, name.size());
    column.isNullable = nullable != SQL_NO_NULLS;

    SQLLEN isUnsigned = SQL_FALSE;
    if (SQL_SUCCEEDED(SQLColAttribute(statement, number, SQL_DESC_UNSIGNED, nullptr, 0, nullptr,
                                      &isUnsigned))) {
        column.isUnsigned = isUnsigned == SQL_TRUE;
    }
    std::array<SQLCHAR, 128> typeName{};
    SQLSMALLINT typeNameLength = 0;
    // The type name only refines the code (money); a driver that cannot tell it loses nothing.
    if (SQL_SUCCEEDED(SQLColAttribute(statement, number, SQL_DESC_TYPE_NAME, typeName.data(),
                                      static_cast<SQLSMALLINT>(typeName.size()), &typeNameLength,
                                      nullptr))) {
        column.typeName = ToText(typeName.data(), typeNameLength, typeName.size());
    }
    return column;
}

// Leaves the statement without bindings or block pointers into memory that is about to go, so
// a later call on it cannot write there.
class BindingReset {
public:
    explicit BindingReset(SQLHSTMT statement) : m_statement(statement) {}
    ~BindingReset() {
        // Failures here would only mean the statement is already unusable; it is closed next.
        SQLFreeStmt(m_statement, SQL_UNBIND);
        SQLSetStmtAttr(m_statement, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
        SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
        SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    }
    BindingReset(const BindingReset&) = delete;
    BindingReset& operator=(const BindingReset&) = delete;

private:
    SQLHSTMT m_statement;
};

void SetPointerAttribute(SQLHSTMT statement, SQLINTEGER attribute, SQLPOINTER value,
                         const char* what) {
    CheckResult(SQLSetStmtAttr(statement, attribute, value, 0), SQL_HANDLE_STMT, statement,
                std::string("Setting up the block fetch (") + what + ")");
}

// Reads one value with SQLGetData, in pieces when it is bigger than the buffer. Returns
// nothing for null.
std::optional<std::vector<unsigned char>> ReadPieces(SQLHSTMT statement, SQLUSMALLINT column,
                                                     std::vector<unsigned char>& buffer,
                                                     CType cType, const std::string& fieldName) {
    std::vector<unsigned char> value;
    const std::size_t room = buffer.size() - cType.terminatorBytes;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, column, cType.code, buffer.data(),
                                        static_cast<SQLLEN>(buffer.size()), &indicator);
        if (rc == SQL_NO_DATA) {
            break; // the previous piece was the last
        }
        CheckResult(rc, SQL_HANDLE_STMT, statement, "Reading field \"" + fieldName + "\"");
        if (indicator == SQL_NULL_DATA) {
            return std::nullopt;
        }
        const bool more = indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room;
        const std::size_t got = more ? room : static_cast<std::size_t>(indicator);
        value.insert(value.end(), buffer.begin(),
                     buffer.begin() + static_cast<std::ptrdiff_t>(got));
        if (!more) {
            break;
        }
    }
    return value;
}

// `buffer` is the piece buffer, kept by the caller across cells so that reading a row does not
// allocate one per value.
FieldValue ReadCell(SQLHSTMT statement, SQLUSMALLINT column, const FieldInfo& field,
                    std::vector<unsigned char>& buffer) {
    const CType cType = CTypeOf(field.fetchKind);
    const std::size_t fixedSize = FixedSize(field.fetchKind);
    if (fixedSize == 0) {
        const auto bytes = ReadPieces(statement, column, buffer, cType, field.name);
        return bytes ? Convert(field, bytes->data(), bytes->size()) : FieldValue();
    }
    std::array<unsigned char, sizeof(SQL_TIMESTAMP_STRUCT) + 8> fixed{};
    SQLLEN indicator = 0;
    CheckResult(SQLGetData(statement, column, cType.code, fixed.data(),
                           static_cast<SQLLEN>(fixed.size()), &indicator),
                SQL_HANDLE_STMT, statement, "Reading field \"" + field.name + "\"");
    return indicator == SQL_NULL_DATA ? FieldValue() : Convert(field, fixed.data(), fixedSize);
}

} // namespace

ResultFetcher::ResultFetcher(SQLHSTMT statement) : m_statement(statement) {
    SQLSMALLINT count = 0;
    CheckResult(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement,
                "Counting the result columns");
    if (count <= 0) {
        throw OdbcError("The statement returned no columns to read");
    }
    for (SQLSMALLINT i = 1; i <= count; ++i) {
        m_fields.push_back(MapColumn(DescribeColumn(statement, static_cast<SQLUSMALLINT>(i))));
    }
}

bool ResultFetcher::HasLongField() const {
    return std::any_of(m_fields.begin(), m_fields.end(),
                       [](const FieldInfo& field) { return field.IsLong(); });
}

std::optional<Recordset> ResultFetcher::FetchInBlocks() {
    std::vector<BoundColumn> columns(m_fields.size());
    std::size_t rowBytes = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        columns[i].elementBytes = ElementBytes(m_fields[i]);
        rowBytes += columns[i].elementBytes + sizeof(SQLLEN);
    }
    BindingReset reset(m_statement);
    const SQLULEN blockRows = SetBlockSize(std::clamp<SQLULEN>(
        kBlockBufferBytes / std::max<std::size_t>(rowBytes, 1), 1, kMaxBlockRows));
    SQLULEN fetched = 0;
    std::vector<SQLUSMALLINT> statuses(blockRows);
    SetPointerAttribute(m_statement, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, "rows fetched");
    SetPointerAttribute(m_statement, SQL_ATTR_ROW_STATUS_PTR, statuses.data(), "row status");
    for (std::size_t i = 0; i < columns.size(); ++i) {
        BoundColumn& column = columns[i];
        column.data.assign(column.elementBytes * blockRows, 0);
        column.indicators.assign(blockRows, 0);
        CheckResult(SQLBindCol(m_statement, static_cast<SQLUSMALLINT>(i + 1),
                               CTypeOf(m_fields[i].fetchKind).code, column.data.data(),
                               static_cast<SQLLEN>(column.elementBytes), column.indicators.data()),
                    SQL_HANDLE_STMT, m_statement, "Binding field \"" + m_fields[i].name + "\"");
    }

    std::vector<FieldValue> values;
    for (;;) {
        const SQLRETURN rc = SQLFetch(m_statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        CheckResult(rc, SQL_HANDLE_STMT, m_statement,
                    "Fetching the records after record " +
                        std::to_string(values.size() / m_fields.size()));
        for (SQLULEN row = 0; row < fetched; ++row) {
            if (statuses[row] == SQL_ROW_NOROW || statuses[row] == SQL_ROW_DELETED) {
                continue;
            }
            if (statuses[row] == SQL_ROW_ERROR) {
                throw OdbcError("Fetching record " +
                                    std::to_string(values.size() / m_fields.size() + 1) + " failed",
                                ReadDiagnostics(SQL_HANDLE_STMT, m_statement));
            }
            if (!AppendBoundRow(columns, row, values)) {
                return std::nullopt;
            }
        }
    }
    return Recordset(m_fields, std::move(values));
}

SQLULEN ResultFetcher::SetBlockSize(SQLULEN wanted) {
    CheckResult(SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_BIND_TYPE,
                               reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
                SQL_HANDLE_STMT, m_statement, "Setting up the block fetch (column binding)");
    // A driver may lower the block size (01S02) or refuse blocks; read back what it accepted.
    SQLSetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(wanted), 0);
    SQLULEN accepted = 1;
    if (SQL_SUCCEEDED(
            SQLGetStmtAttr(m_statement, SQL_ATTR_ROW_ARRAY_SIZE, &accepted, 0, nullptr)) &&
        accepted >= 1 && accepted <= wanted) {
        return accepted;
    }
    return 1;
}

bool ResultFetcher::AppendBoundRow(const std::vector<BoundColumn>& columns, SQLULEN row,
                                   std::vector<FieldValue>& values) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const BoundColumn& column = columns[i];
        const FieldInfo& field = m_fields[i];
        const SQLLEN indicator = column.indicators[row];
        if (indicator == SQL_NULL_DATA) {
            values.emplace_back();
            continue;
        }
        const std::size_t fixedSize = FixedSize(field.fetchKind);
        const std::size_t room = column.elementBytes - CTypeOf(field.fetchKind).terminatorBytes;
        if (fixedSize == 0 &&
            (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room)) {
            return false;
        }
        const std::size_t length = fixedSize != 0 ? fixedSize : static_cast<std::size_t>(indicator);
        values.push_back(Convert(field, column.data.data() + row * column.elementBytes, length));
    }
    return true;
}

Recordset ResultFetcher::FetchByRows() {
    constexpr std::size_t kPieceBytes = 32768;
    std::vector<unsigned char> buffer(kPieceBytes);
    std::vector<FieldValue> values;
    for (;;) {
        const SQLRETURN rc = SQLFetch(m_statement);
        if (rc == SQL_NO_DATA) {
            break;
        }
        CheckResult(rc, SQL_HANDLE_STMT, m_statement,
                    "Fetching record " + std::to_string(values.size() / m_fields.size() + 1));
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            values.push_back(
                ReadCell(m_statement, static_cast<SQLUSMALLINT>(i + 1), m_fields[i], buffer));
        }
    }
    return Recordset(m_fields, std::move(values));
}

} // namespace slidesmith::odbc
