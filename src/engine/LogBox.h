#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace slidesmith::engine {

// The text of the run window's log box: the echoed log lines, each followed by CR LF. A text
// control slows to a crawl (and the classic one overflows) near a few hundred thousand
// characters, so the box holds fewer than kCapacity characters: a line that would reach the cap
// empties the box and starts it again with that line. The log file itself is never cut.
class LogBox {
public:
    static constexpr std::size_t kCapacity = 310000;

    void Append(std::string_view line);
    void Clear();

    const std::string& Text() const { return m_text; }
    // Characters, not bytes: a UTF-8 sequence counts once.
    std::size_t Length() const { return m_length; }

private:
    std::string m_text;
    std::size_t m_length = 0;
};

} // namespace slidesmith::engine
