#pragma once

#include "Egzamin.h"
#include "Kwizmar.h"
#include "TestFixtures.h"

#include <QLabel>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kwizmar::testing {

// The whole program started as main() starts it, on settings, data and
// machine-wide folders of its own, with the lockdown calls recorded.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Starts the program with `arguments` after the program's own path, shows
    // the main window and waits until its first-show steps have run.
    void Start(const QStringList& arguments = {});
    TEgzamin& Window() { return program->MainWindow(); }
    // Waits until the finished exam's line has gone to the log (or waits on
    // the computer), as the summary's "Zapisywanie wyniku…" tells.
    bool ResultSaved();

    QString Text(const char* name);
    QToolButton* Button(const char* name);
    template <typename T> T* Find(const char* name) {
        return Window().findChild<T*>(QString::fromLatin1(name));
    }
    // The settings file as the program left it.
    std::string SettingsFile() const;
    void WriteSettingsFile(const std::string& text) const;
    // One text value among the stored settings, in the registry on Windows.
    void StoreStringSetting(const std::string& name, const std::string& text) const;
    // Writes the machine-wide Setup file with the lab's section holding
    // `values` (lines such as "\"StrictExam\"=dword:00000001\n"); the
    // registry files' systems only.
    void WriteLabSetup(const std::string& values) const;
    // The user's own data folder: the pending results and the exam journal.
    std::filesystem::path UserDataFolder() const;

    TTempDir dir;
    std::unique_ptr<TKwizmar> program;

private:
    std::optional<std::string> savedAppData_;
};

} // namespace kwizmar::testing
