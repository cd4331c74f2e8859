#pragma once

#include <stdexcept>

namespace slidesmith::convert {

// The conversion layer's one exception type. what() says which file, which target format and
// what went wrong, including LibreOffice's own message when it gave one.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace slidesmith::convert
