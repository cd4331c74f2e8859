#pragma once

#include <sql.h>
#include <utility>

namespace slidesmith::odbc {

// Owns one ODBC handle of kind HandleType (SQL_HANDLE_ENV, SQL_HANDLE_DBC or SQL_HANDLE_STMT)
// and frees it when it goes. Move-only. A connection handle must be disconnected before it is
// freed; Connection takes care of that, so this wrapper only frees.
template <SQLSMALLINT HandleType>
class OdbcHandle {
public:
    OdbcHandle() = default;
    // Allocates a handle below `parent` (SQL_NULL_HANDLE for an environment); throws OdbcError.
    explicit OdbcHandle(SQLHANDLE parent);
    ~OdbcHandle() { Reset(); }

    OdbcHandle(OdbcHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    OdbcHandle& operator=(OdbcHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }
    void Reset();

private:
    SQLHANDLE m_handle = nullptr;
};

using EnvironmentHandle = OdbcHandle<SQL_HANDLE_ENV>;
using ConnectionHandle = OdbcHandle<SQL_HANDLE_DBC>;
using StatementHandle = OdbcHandle<SQL_HANDLE_STMT>;

extern template class OdbcHandle<SQL_HANDLE_ENV>;
extern template class OdbcHandle<SQL_HANDLE_DBC>;
extern template class OdbcHandle<SQL_HANDLE_STMT>;

} // namespace slidesmith::odbc
