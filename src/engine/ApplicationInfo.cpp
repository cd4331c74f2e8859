#include "engine/ApplicationInfo.h"

#include <string>

namespace slidesmith::engine {

std::string_view ApplicationVersion() {
    return SLIDESMITH_VERSION;
}

std::string ApplicationNameAndVersion() {
    std::string text(kApplicationTitle);
    text += ' ';
    text += ApplicationVersion();
    return text;
}

} // namespace slidesmith::engine
