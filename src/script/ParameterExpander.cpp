#include "script/ParameterExpander.h"

#include "script/TextScan.h"

#include <utility>

namespace slidesmith::script {

ParameterExpander::ParameterExpander(std::span<const ScriptParameter> parameters) {
    for (const ScriptParameter& parameter : parameters) {
        if (parameter.Name.empty())
            continue;
        m_parameters.push_back(parameter);
        bool& starts = m_startsName[static_cast<unsigned char>(parameter.Name.front())];
        if (!starts)
            ++m_firstByteCount;
        starts = true;
        m_firstByte = parameter.Name.front();
    }
}

std::string ParameterExpander::Expand(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    ExpandInto(text, out);
    return CutAtNul(std::move(out));
}

void ParameterExpander::ExpandInto(std::string_view text, std::string& out) const {
    if (m_parameters.empty()) {
        out.append(text);
        return;
    }
    std::size_t copied = 0; // text[copied, pos) is still to be appended
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (m_firstByteCount == 1) {
            // Names share a sigil ("&Y", "&YM"): jump from one to the next.
            pos = text.find(m_firstByte, pos);
            if (pos == std::string_view::npos)
                break;
        } else if (!m_startsName[static_cast<unsigned char>(text[pos])]) {
            ++pos;
            continue;
        }
        const std::string_view rest = text.substr(pos);
        const ScriptParameter* match = nullptr;
        for (const ScriptParameter& parameter : m_parameters) {
            if (rest.starts_with(parameter.Name)) {
                match = &parameter;
                break;
            }
        }
        if (match == nullptr) {
            ++pos;
            continue;
        }
        out.append(text.substr(copied, pos - copied));
        out += match->Value;
        pos += match->Name.size();
        copied = pos;
    }
    out.append(text.substr(copied));
}

std::string ExpandParameters(std::string_view text, std::span<const ScriptParameter> parameters) {
    return ParameterExpander(parameters).Expand(text);
}

} // namespace slidesmith::script
