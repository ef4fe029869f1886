// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class CardEditorDlg;

namespace platform {
class SettingsStore;
struct AppDirectory;
}

// The application object: prepares the settings and the card-format catalogue,
// runs the editor window modally, then writes the catalogue and the settings back.
class CardApp {
public:
    // Uses the user's own settings store.
    CardApp();
    // Uses the given settings store (tests keep theirs in a file).
    explicit CardApp(std::unique_ptr<platform::SettingsStore> store);
    ~CardApp();

    // All the steps: prepare, run the editor on the document path, shut down.
    int run(const QString& commandLine);

    // Preparation: application directory, folders and adjustments, settings, catalogue.
    void prepare();
    // The same with an application directory already found.
    void prepare(const platform::AppDirectory& dir);
    // The editor window, handed the document path to open when it starts.
    std::unique_ptr<CardEditorDlg> createEditor(const QString& commandLine);
    // Shutdown: back to the application directory, write the catalogue (to the
    // user's data folder when that directory is read-only) and the settings.
    void shutdown();

private:
    std::unique_ptr<platform::SettingsStore> store_;
};
