#include "app/CardApp.h"

#include "app/CardEditorDlg.h"
#include "platform/AppDirectory.h"
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
    platform::AppSettings& settings = platform::appSettings();
    settings.setAppDir(platform::lookupAppDirectory());
    settings.resetToDefaults();

    if (!store_)
        store_ = std::make_unique<platform::SettingsStore>(ui::applicationName());
    settings.load(*store_);
    settings.attachStore(store_.get());

    CardFormatCatalog& catalog = CardFormatCatalog::instance();
    catalog.loadFolderFormats(settings.appDir());
    catalog.loadFile(settings.appDir(), CardFormatCatalog::fileName());
}

std::unique_ptr<CardEditorDlg> CardApp::createEditor(const QString& commandLine)
{
    return std::make_unique<CardEditorDlg>(commandLine);
}

void CardApp::shutdown()
{
    const platform::AppSettings& settings = platform::appSettings();
    // The catalogue goes to the application directory whatever the file dialogs
    // did to the current directory meanwhile.
    QDir::setCurrent(settings.appDir());
    CardFormatCatalog::instance().saveFile(QDir(settings.appDir()).filePath(CardFormatCatalog::fileName()));
    settings.store(*store_);
}

int CardApp::run(const QString& commandLine)
{
    prepare();
    std::unique_ptr<CardEditorDlg> editor = createEditor(commandLine);
    editor->exec(); // the result is not used
    shutdown();
    editor.reset();
    return 0;
}
