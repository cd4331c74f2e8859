#include "engine/Clock.h"

#include <cstdio>
#include <ctime>

namespace slidesmith::engine {

LocalTime SystemClock::Now() const {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::string FormatLogPrefix(const LocalTime& time) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "[%04d%02d%02d %02d:%02d:%02d]    ", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return buffer;
}

} // namespace slidesmith::engine
