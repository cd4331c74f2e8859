#include "platform/odbc/OdbcError.h"

#include "platform/odbc/WideText.h"

#include <algorithm>
#include <array>
#include <sqlext.h>

namespace slidesmith::odbc {

namespace {

std::string Describe(const std::string& context, const std::vector<Diagnostic>& diagnostics) {
    std::string text = context;
    if (diagnostics.empty()) {
        return text + ": the driver gave no description";
    }
    text += ": ";
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        if (i > 0) {
            text += "; ";
        }
        text += diagnostics[i].message + " (" + diagnostics[i].state + ")";
    }
    return text;
}

// Log lines are single lines; drivers such as psqlODBC end their messages with line breaks.
std::string FoldLines(const std::string& text) {
    std::string folded;
    for (char c : text) {
        const bool isBreak = c == '\n' || c == '\r' || c == '\t';
        if (!isBreak) {
            folded += c;
        } else if (!folded.empty() && folded.back() != ' ') {
            folded += ' ';
        }
    }
    while (!folded.empty() && folded.back() == ' ') {
        folded.pop_back();
    }
    return folded;
}

} // namespace

OdbcError::OdbcError(const std::string& context, std::vector<Diagnostic> diagnostics)
    : std::runtime_error(Describe(context, diagnostics)), m_diagnostics(std::move(diagnostics)) {}

OdbcError::OdbcError(const std::string& description) : std::runtime_error(description) {}

std::string OdbcError::State() const {
    return m_diagnostics.empty() ? std::string() : m_diagnostics.front().state;
}

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<Diagnostic> records;
    if (handle == SQL_NULL_HANDLE) {
        return records;
    }
    // A runaway driver could report records forever; a handful says everything a log needs.
    constexpr SQLSMALLINT kMaxRecords = 16;
    for (SQLSMALLINT record = 1; record <= kMaxRecords; ++record) {
        std::array<SQLCHAR, 6> state{};
        SQLINTEGER nativeError = 0;
        std::vector<SQLCHAR> message(1024);
        SQLSMALLINT length = 0;
        SQLRETURN rc =
            SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError, message.data(),
                          static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.resize(static_cast<std::size_t>(length) + 1);
            rc = SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError,
                               message.data(), static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        const std::size_t used = std::min(
            static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), message.size() - 1);
        records.push_back({NarrowToUtf8(state.data(), 5), nativeError,
                           FoldLines(NarrowToUtf8(message.data(), used))});
    }
    return records;
}

void CheckResult(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle,
                 const std::string& context) {
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
        return;
    }
    if (rc == SQL_INVALID_HANDLE) {
        throw OdbcError(context + ": invalid handle");
    }
    throw OdbcError(context, ReadDiagnostics(handleType, handle));
}

} // namespace slidesmith::odbc
