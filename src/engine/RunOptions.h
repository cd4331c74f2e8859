#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace slidesmith::engine {

// Credential slots 0..10 match the definition's data-source entries one to one.
inline constexpr std::size_t kCredentialSlotCount = 11;
inline constexpr std::size_t kMaxCommandLineValues = 10;

// How the program was asked to run: filled by start-up from the command line and the settings,
// read by the run. One instance per process, owned by the application object and passed by
// reference (no globals, so two runs can live side by side in a test).
struct RunOptions {
    bool Interactive = true;     // cleared by -C (batch mode)
    bool DisplayReport = false;  // -D, or the run window's check box
    double ProgressInterval = 0; // -I: records between progress lines (<= 1: a fraction)
    std::array<bool, kCredentialSlotCount> CredentialGiven{};
    std::array<std::string, kCredentialSlotCount> CredentialUser;
    std::array<std::string, kCredentialSlotCount> CredentialPassword;
    // Parameter values given after the options, at most kMaxCommandLineValues (batch mode only).
    std::vector<std::string> CommandLineValues;
    std::string DefinitionPath;          // the first argument, made absolute; empty when none
    std::int32_t ConnectionTimeout = 15; // seconds
    std::int32_t CommandTimeout = 0;     // seconds, 0 = no limit

    int CommandLineValueCount() const { return static_cast<int>(CommandLineValues.size()); }
};

} // namespace slidesmith::engine
