#include "script/ScriptLineSource.h"

#include "script/TextScan.h"

namespace slidesmith::script {

bool TextScriptSource::ReadLine(std::string_view& line) {
    if (m_pos >= m_text.size())
        return false;
    line = NextLineView(m_text, m_pos);
    return true;
}

} // namespace slidesmith::script
