#include "platform/AppSettings.h"

#include "platform/SettingsStore.h"

#include <QFile>

namespace platform {

namespace {
const QString kDir = QStringLiteral("dir");
const QString kPrint = QStringLiteral("print");
} // namespace

bool AppSettings::fitsFolderBuffer(const QString& dir)
{
    return !dir.isEmpty() && QFile::encodeName(dir).size() <= kMaxFolderBytes;
}

bool AppSettings::setDocumentFolder(const QString& dir)
{
    if (!fitsFolderBuffer(dir))
        return false;
    documentFolder_ = dir;
    return true;
}

bool AppSettings::setPictureFolder(const QString& dir)
{
    if (!fitsFolderBuffer(dir))
        return false;
    pictureFolder_ = dir;
    return true;
}

void AppSettings::resetToDefaults()
{
    documentFolder_ = appDir_;
    pictureFolder_ = appDir_;
    adjustX_ = 0;
    adjustY_ = 0;
}

void AppSettings::load(SettingsStore& s)
{
    if (auto v = s.readString(kDir, QStringLiteral("save")))
        setDocumentFolder(*v);
    if (auto v = s.readString(kDir, QStringLiteral("bmp")))
        setPictureFolder(*v);
    if (auto v = s.readInt(kPrint, QStringLiteral("adj_x")))
        adjustX_ = *v;
    if (auto v = s.readInt(kPrint, QStringLiteral("adj_y")))
        adjustY_ = *v;
}

void AppSettings::store(SettingsStore& s) const
{
    s.writeString(kDir, QStringLiteral("save"), documentFolder_);
    s.writeString(kDir, QStringLiteral("bmp"), pictureFolder_);
    s.writeInt(kPrint, QStringLiteral("adj_x"), adjustX_);
    s.writeInt(kPrint, QStringLiteral("adj_y"), adjustY_);
    s.sync();
}

void AppSettings::storeAdjustments() const
{
    if (!store_)
        return;
    store_->writeInt(kPrint, QStringLiteral("adj_x"), adjustX_);
    store_->writeInt(kPrint, QStringLiteral("adj_y"), adjustY_);
    store_->sync();
}

AppSettings& appSettings()
{
    static AppSettings settings;
    return settings;
}

} // namespace platform
