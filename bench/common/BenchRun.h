#pragma once

#include <filesystem>

namespace slidesmith::bench {

// Opens a definition and runs it in batch mode as the command line would, with the shipped
// conversion table, from reading the definition to the saved report (what a job benchmark
// times). Returns the run's error count; throws when the definition cannot be opened.
int RunDefinitionInBatch(const std::filesystem::path& definitionFile);

} // namespace slidesmith::bench
