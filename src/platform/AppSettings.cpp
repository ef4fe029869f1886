// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppSettings.h"

#include "platform/SettingsStore.h"

#include <QFile>
#include <QUrl>

namespace platform {

namespace {

void writePrinterAdjustments(SettingsStore& s, const QHash<QString, QPoint>& adjustments, const QString& x,
                             const QString& y)
{
    for (auto it = adjustments.cbegin(); it != adjustments.cend(); ++it) {
        const QString section = AppSettings::printerSection(it.key());
        s.writeInt(section, x, it->x());
        s.writeInt(section, y, it->y());
    }
}

const QString kAdjX = QStringLiteral("adj_x");
const QString kAdjY = QStringLiteral("adj_y");
const QString kBackX = QStringLiteral("back_x");
const QString kBackY = QStringLiteral("back_y");

} // namespace

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

void AppSettings::setAppDirectory(const AppDirectory& dir)
{
    appDir_ = dir.path;
    catalogueDir_ = dir.catalogueDir;
    startFolder_ = dir.startFolder;
}

void AppSettings::resetToDefaults()
{
    documentFolder_ = startFolder_;
    pictureFolder_ = startFolder_;
    adjustX_ = 0;
    adjustY_ = 0;
    printerAdjustments_.clear();
    backAdjust_ = {};
    printerBackAdjustments_.clear();
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
    if (auto v = s.readInt(kPrint, kBackX))
        backAdjust_.setX(*v);
    if (auto v = s.readInt(kPrint, kBackY))
        backAdjust_.setY(*v);
}

void AppSettings::store(SettingsStore& s) const
{
    s.writeString(kDir, QStringLiteral("save"), documentFolder_);
    s.writeString(kDir, QStringLiteral("bmp"), pictureFolder_);
    s.writeInt(kPrint, QStringLiteral("adj_x"), adjustX_);
    s.writeInt(kPrint, QStringLiteral("adj_y"), adjustY_);
    writeAdjustments(s);
    s.sync();
}

void AppSettings::writeAdjustments(SettingsStore& s) const
{
    writePrinterAdjustments(s, printerAdjustments_, kAdjX, kAdjY);
    // The backs' keys only once they were set, so settings of front-only
    // printing stay as they were.
    if (!backAdjust_.isNull() || s.readInt(kPrint, kBackX)) {
        s.writeInt(kPrint, kBackX, backAdjust_.x());
        s.writeInt(kPrint, kBackY, backAdjust_.y());
    }
    writePrinterAdjustments(s, printerBackAdjustments_, kBackX, kBackY);
}

void AppSettings::storeAdjustments() const
{
    if (!store_)
        return;
    store_->writeInt(kPrint, QStringLiteral("adj_x"), adjustX_);
    store_->writeInt(kPrint, QStringLiteral("adj_y"), adjustY_);
    writeAdjustments(*store_);
    store_->sync();
}

QPoint AppSettings::printerAdjustment(const QString& printerName) const
{
    if (printerName.isEmpty())
        return {adjustX_, adjustY_};
    if (auto it = printerAdjustments_.constFind(printerName); it != printerAdjustments_.cend())
        return *it;
    if (store_) {
        const QString section = printerSection(printerName);
        const auto x = store_->readInt(section, QStringLiteral("adj_x"));
        const auto y = store_->readInt(section, QStringLiteral("adj_y"));
        if (x && y)
            return {*x, *y};
    }
    return {adjustX_, adjustY_};
}

void AppSettings::setPrinterAdjustment(const QString& printerName, QPoint mm)
{
    if (!printerName.isEmpty())
        printerAdjustments_.insert(printerName, mm);
}

QPoint AppSettings::printerBackAdjustment(const QString& printerName) const
{
    if (printerName.isEmpty())
        return backAdjust_;
    if (auto it = printerBackAdjustments_.constFind(printerName); it != printerBackAdjustments_.cend())
        return *it;
    if (store_) {
        const QString section = printerSection(printerName);
        const auto x = store_->readInt(section, kBackX);
        const auto y = store_->readInt(section, kBackY);
        if (x && y)
            return {*x, *y};
    }
    return backAdjust_;
}

void AppSettings::setPrinterBackAdjustment(const QString& printerName, QPoint mm)
{
    if (!printerName.isEmpty())
        printerBackAdjustments_.insert(printerName, mm);
}

QString AppSettings::printerSection(const QString& printerName)
{
    // Only letters, digits and "-._~" stay: "/", "\\" and the like cannot split the key.
    return QStringLiteral("printers/") + QString::fromLatin1(QUrl::toPercentEncoding(printerName));
}

AppSettings& appSettings()
{
    static AppSettings settings;
    return settings;
}

} // namespace platform
