#pragma once

#include <stdexcept>
#include <string>

namespace slidesmith::testtools {

// The one exception type of the package tools: what() names the file or part that failed.
class TestToolError : public std::runtime_error {
public:
    explicit TestToolError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace slidesmith::testtools
