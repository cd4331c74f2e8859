#pragma once

#include <string>

namespace slidesmith::engine {

// A local calendar date and wall-clock time, as the logs print it.
struct LocalTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;
};

// Where the log writers get "now" from. The run uses SystemClock; tests fix the time so that
// they can compare whole log lines.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

// The local time of the machine.
class SystemClock final : public Clock {
public:
    LocalTime Now() const override;
};

// Always the time it was given (or last set to).
class FixedClock final : public Clock {
public:
    explicit FixedClock(const LocalTime& time) : m_time(time) {}
    void Set(const LocalTime& time) { m_time = time; }
    LocalTime Now() const override { return m_time; }

private:
    LocalTime m_time;
};

// "[YYYYMMDD hh:mm:ss]" followed by four blanks: the prefix of every log line.
std::string FormatLogPrefix(const LocalTime& time);

} // namespace slidesmith::engine
