// Feeds arbitrary bytes to the definition reader. Besides crashes and hangs it checks what the
// rest of the program relies on: every text it hands out is UTF-8, no list grows past ten
// entries and no setting exceeds the reader's buffer.
#include "definition/DefinitionFile.h"
#include "platform/files/TextEncoding.h"

#include <cstdint>
#include <cstdlib>

namespace {

using slidesmith::definition::ReportDefinition;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckText(const std::string& text) {
    Check(slidesmith::files::IsValidUtf8(text));
}

void CheckSetting(const std::string& text) {
    CheckText(text);
    Check(text.size() <= 4 * 10239);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char* codePage : {"CP1252", "SHIFT_JIS"}) {
        ReportDefinition definition;
        std::string script;
        if (!slidesmith::definition::ParseDefinition(bytes, definition, script, codePage))
            continue;
        CheckText(definition.Version);
        CheckText(script);
        Check(definition.DataSources.size() <= 10 && definition.Parameters.size() <= 10);
        for (const auto& entry : definition.DataSources) {
            for (const std::string* text :
                 {&entry.Name, &entry.User, &entry.Password, &entry.ConnectionString})
                CheckSetting(*text);
        }
        for (const auto& entry : definition.Parameters) {
            for (const std::string* text : {&entry.Name, &entry.Title, &entry.Default})
                CheckSetting(*text);
        }
        for (const std::string* text : {&definition.TemplateFileName, &definition.ReportFileName,
                                        &definition.ReportFileType, &definition.LogFileName})
            CheckSetting(*text);
    }
    return 0;
}
