// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SettingsStore.h"

#include <QSettings>

#include <limits>

namespace platform {

SettingsStore::SettingsStore(const QString& applicationName)
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Nurel"), applicationName))
{
}

std::unique_ptr<SettingsStore> SettingsStore::fromFile(const QString& path)
{
    std::unique_ptr<SettingsStore> store(new SettingsStore);
    store->settings_ = std::make_unique<QSettings>(path, QSettings::IniFormat);
    return store;
}

SettingsStore::~SettingsStore() = default;

static QString keyPath(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

std::optional<QString> SettingsStore::readString(const QString& section, const QString& key) const
{
    const QVariant v = settings_->value(keyPath(section, key));
    if (!v.isValid() || !v.canConvert<QString>())
        return std::nullopt;
    if (v.typeId() == QMetaType::QStringList || v.typeId() == QMetaType::QVariantList)
        return std::nullopt;
    return v.toString();
}

std::optional<int> SettingsStore::readInt(const QString& section, const QString& key) const
{
    const QVariant v = settings_->value(keyPath(section, key));
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok);
    if (!ok || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(n);
}

void SettingsStore::writeString(const QString& section, const QString& key, const QString& value)
{
    settings_->setValue(keyPath(section, key), value);
}

void SettingsStore::writeInt(const QString& section, const QString& key, int value)
{
    settings_->setValue(keyPath(section, key), value);
}

void SettingsStore::sync()
{
    settings_->sync();
}

} // namespace platform
