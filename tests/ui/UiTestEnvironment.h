#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace slidesmith::settings {
class SettingsStore;
}

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

#include "app/InteractiveSession.h"
#include "platform/settings/SettingsStore.h"
#include "ui/FileDialogService.h"
#include "ui/MessageService.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages for Qt's text type.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace slidesmith::ui::testing {

// The records start-up would own, a fresh settings file, an application folder holding the
// program's shared files, and message boxes and file dialogs answered by the test.
class DesktopTest : public ::testing::Test {
protected:
    DesktopTest();
    ~DesktopTest() override;

    // Writes a file below the test's folder and returns its path.
    QString WriteFile(const QString& name, const std::string& bytes) const;
    QString PathOf(const QString& name) const;
    // Queues the path the next file dialog "chooses" (empty: cancel), and records requests.
    void AnswerFileDialog(const QString& path) { m_fileAnswers.push_back(path); }
    // A settings store on the test's settings file.
    static settings::SettingsStore Store();

    QTemporaryDir m_folder;
    engine::RunOptions m_options;
    engine::RunState m_state;
    definition::ReportDefinition m_definition;
    std::vector<definition::ConversionFormat> m_table;
    app::InteractiveSession m_session;
    ScopedMessageResponder m_messages;
    std::vector<QString> m_fileAnswers;
    std::vector<FileDialogRequest> m_fileRequests;
};

// Catches what the program hands to the desktop (help pages, web addresses, documents).
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher();
    ~UrlCatcher() override;
    std::vector<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

// A minimal definition file with the given script (CR LF line ends as written).
std::string DefinitionBytes(const std::string& script, const std::string& fileSection = {});

} // namespace slidesmith::ui::testing
