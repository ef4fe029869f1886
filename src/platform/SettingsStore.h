// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace platform {

// The per-user settings store under the company key "Nurel" and the application's
// name. On Windows this is HKCU\Software\Nurel\(app)\(section).
class SettingsStore {
public:
    explicit SettingsStore(const QString& applicationName);
    // A store kept in an INI file, for tests.
    static std::unique_ptr<SettingsStore> fromFile(const QString& path);
    ~SettingsStore();

    // Absent values and values of the wrong type read as nothing.
    std::optional<QString> readString(const QString& section, const QString& key) const;
    std::optional<int> readInt(const QString& section, const QString& key) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void sync();

private:
    SettingsStore() = default;
    std::unique_ptr<QSettings> settings_;
};

} // namespace platform
