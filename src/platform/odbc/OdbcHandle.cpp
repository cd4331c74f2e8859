#include "platform/odbc/OdbcHandle.h"

#include "platform/odbc/OdbcError.h"

#include <sqlext.h>

namespace slidesmith::odbc {

namespace {

const char* KindName(SQLSMALLINT handleType) {
    switch (handleType) {
    case SQL_HANDLE_ENV:
        return "environment";
    case SQL_HANDLE_DBC:
        return "connection";
    default:
        return "statement";
    }
}

} // namespace

template <SQLSMALLINT HandleType>
OdbcHandle<HandleType>::OdbcHandle(SQLHANDLE parent) {
    const SQLRETURN rc = SQLAllocHandle(HandleType, parent, &m_handle);
    if (!SQL_SUCCEEDED(rc)) {
        m_handle = nullptr;
        const SQLSMALLINT parentType =
            HandleType == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
        throw OdbcError(std::string("Allocating an ODBC ") + KindName(HandleType) +
                            " handle failed",
                        ReadDiagnostics(parentType, parent));
    }
}

template <SQLSMALLINT HandleType>
void OdbcHandle<HandleType>::Reset() {
    if (m_handle != nullptr) {
        // Freeing fails only for a handle still in use (a connection not yet disconnected);
        // nothing useful can be done about it in a destructor.
        SQLFreeHandle(HandleType, m_handle);
        m_handle = nullptr;
    }
}

template class OdbcHandle<SQL_HANDLE_ENV>;
template class OdbcHandle<SQL_HANDLE_DBC>;
template class OdbcHandle<SQL_HANDLE_STMT>;

} // namespace slidesmith::odbc
