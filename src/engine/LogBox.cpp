#include "engine/LogBox.h"

namespace slidesmith::engine {
namespace {

std::size_t CountCharacters(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        // UTF-8 continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}

} // namespace

void LogBox::Append(std::string_view line) {
    std::size_t lineLength = CountCharacters(line);
    if (lineLength + m_length + 2 >= kCapacity)
        Clear();
    m_text.append(line);
    m_text.append("\r\n");
    m_length += lineLength + 2;
}

void LogBox::Clear() {
    m_text.clear();
    m_length = 0;
}

} // namespace slidesmith::engine
