#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace slidesmith::ui::testing {

// Every desktop test runs on the offscreen platform with its own settings file, so no display
// is needed and the user's settings are never touched.
class UiTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    // The temporary folder that holds the settings file; tests may put their files there.
    static const QTemporaryDir& Folder();
    // Empties the settings file, so each test starts from the defaults.
    static void ResetSettings();
};

} // namespace slidesmith::ui::testing
