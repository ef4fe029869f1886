// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardApp.h"

#include "app/CardEditorDlg.h"
#include "platform/AppSettings.h"
#include "ui/MessageBox.h"
#include "platform/SettingsStore.h"
#include "print/CardFormatCatalog.h"

#include <QDir>

CardApp::CardApp() = default;

CardApp::CardApp(std::unique_ptr<platform::SettingsStore> store) : store_(std::move(store)) {}

CardApp::~CardApp()
{
    if (store_)
        platform::appSettings().attachStore(nullptr);
}

void CardApp::prepare()
{
    prepare(platform::resolveAppDirectory(platform::lookupAppDirectory()));
}

void CardApp::prepare(const platform::AppDirectory& dir)
{
    platform::AppSettings& settings = platform::appSettings();
    settings.setAppDirectory(dir);
    settings.resetToDefaults();

    if (!store_)
        store_ = std::make_unique<platform::SettingsStore>(ui::applicationName());
    settings.load(*store_);
    settings.attachStore(store_.get());

    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    catalog.loadFolderFormats(settings.appDir());
    catalog.loadFile(dir.catalogueSourceDir(), CardFormatCatalog::fileName());
}

std::unique_ptr<CardEditorDlg> CardApp::createEditor(const QString& commandLine)
{
    return std::make_unique<CardEditorDlg>(commandLine);
}

void CardApp::shutdown()
{
    const platform::AppSettings& settings = platform::appSettings();
    // The catalogue goes to its own folder whatever the file dialogs
    // did to the current directory meanwhile.
    QDir::setCurrent(settings.appDir());
    if (settings.catalogueDir() != settings.appDir())
        QDir().mkpath(settings.catalogueDir());
    CardFormatCatalog::instance().saveFile(QDir(settings.catalogueDir()).filePath(CardFormatCatalog::fileName()));
    settings.store(*store_);
}

int CardApp::run(const QString& commandLine)
{
    prepare();
    std::unique_ptr<CardEditorDlg> editor = createEditor(commandLine);
    editor->show();
    editor->recovery().offerLeftCopies();
    editor->exec(); // the result is not used
    shutdown();
    editor.reset();
    return 0;
}
