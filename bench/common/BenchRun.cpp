#include "BenchRun.h"

#include "definition/ConversionTable.h"
#include "definition/DefinitionFile.h"
#include "definition/ReportDefinition.h"
#include "engine/RunContext.h"
#include "engine/RunObserver.h"
#include "engine/RunOptions.h"
#include "engine/RunState.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace slidesmith::bench {

int RunDefinitionInBatch(const std::filesystem::path& definitionFile) {
    definition::ReportDefinition reportDefinition;
    std::string script;
    const definition::DefinitionOutcome outcome =
        definition::OpenDefinition(definitionFile, reportDefinition, script);
    if (!outcome.succeeded)
        throw std::runtime_error(outcome.message);
    const std::vector<definition::ConversionFormat> conversions = definition::ReadConversionTable(
        std::filesystem::path(SLIDESMITH_SOURCE_DIR) / "share" / "sconv.cfg");
    engine::RunOptions options;
    options.Interactive = false;
    options.DefinitionPath = definitionFile.string();
    engine::RunState state;
    engine::NullRunObserver observer;
    engine::RunContext context{.Definition = reportDefinition,
                               .Options = options,
                               .State = state,
                               .Observer = observer,
                               .ConversionTable = conversions,
                               .ApplicationFolder = definitionFile.parent_path(),
                               .ScriptText = std::nullopt,
                               .CodePage = definition::kDefaultCodePage,
                               .Login = {},
                               .ShowErrorBox =
                                   [](std::string_view text) {
                                       std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()),
                                                    text.data());
                                   },
                               .Viewer = {},
                               .LogClock = nullptr,
                               .Log = nullptr};
    engine::RunReport(context);
    return state.ErrorCount;
}

} // namespace slidesmith::bench
