#pragma once

#include "platform/odbc/Recordset.h"

#include <optional>
#include <sql.h>
#include <vector>

namespace slidesmith::odbc {

// Reads the open result set of an executed statement completely into a Recordset.
//
// Ordinary columns are bound and fetched in blocks of up to kMaxBlockRows rows (one driver call
// per block instead of one per cell). A result with a long field is read a row at a time with
// SQLGetData, because drivers need not serve SQLGetData on a row of a block, and a long value is
// read in pieces of any size. Throws OdbcError on driver errors.
class ResultFetcher {
public:
    static constexpr SQLULEN kMaxBlockRows = 256;

    // Describes the result's columns; throws OdbcError when it has none to describe.
    explicit ResultFetcher(SQLHSTMT statement);

    const std::vector<FieldInfo>& Fields() const { return m_fields; }
    bool HasLongField() const;

    // Block fetch. Returns nothing when a value did not fit its bound buffer, which happens when
    // a database stores more than the column declares (SQLite does not enforce declared sizes);
    // the caller then runs the statement again and reads it with FetchByRows.
    std::optional<Recordset> FetchInBlocks();
    Recordset FetchByRows();

private:
    // One column's bound buffers for a block: values side by side, one indicator per row.
    struct BoundColumn {
        std::size_t elementBytes = 0;
        std::vector<unsigned char> data;
        std::vector<SQLLEN> indicators;
    };

    // Asks for blocks of `wanted` rows; returns the size the driver accepted.
    SQLULEN SetBlockSize(SQLULEN wanted);
    // Appends one row of the block to `values`; false when a value did not fit its buffer.
    bool AppendBoundRow(const std::vector<BoundColumn>& columns, SQLULEN row,
                        std::vector<FieldValue>& values) const;

    SQLHSTMT m_statement;
    std::vector<FieldInfo> m_fields;
};

} // namespace slidesmith::odbc
