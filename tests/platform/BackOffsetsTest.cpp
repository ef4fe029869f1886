// SPDX-License-Identifier: GPL-3.0-or-later
// The offsets of the sheets' backs, kept per printer beside the fronts'.
#include "TestSupport.h"
#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"

#include <QSettings>

using testsupport::TempDirTest;

using BackOffsets = TempDirTest;

TEST_F(BackOffsets, AreKeptBesideEachPrintersFrontOffsetsAndMoveNothingElse)
{
    const QString ini = path(QStringLiteral("settings.ini"));
    const QString office = QStringLiteral("office/2F");
    {
        auto store = platform::SettingsStore::fromFile(ini);
        platform::AppSettings settings;
        settings.setAdjustX(1);
        // Front-only settings gain no keys for the backs.
        settings.store(*store);
        EXPECT_FALSE(store->readInt(QStringLiteral("print"), QStringLiteral("back_x")).has_value());
        settings.setPrinterAdjustment(office, {4, 5});
        settings.setPrinterBackAdjustment(office, {-2, 3});
        settings.setBackAdjustment({1, -1});
        settings.store(*store);
    }
    QSettings written(ini, QSettings::IniFormat);
    const QString section = platform::AppSettings::printerSection(office) + u'/';
    EXPECT_EQ(QStringList({written.value(section + QStringLiteral("adj_x")).toString(),
                           written.value(section + QStringLiteral("adj_y")).toString(),
                           written.value(section + QStringLiteral("back_x")).toString(),
                           written.value(section + QStringLiteral("back_y")).toString(),
                           written.value(QStringLiteral("print/back_x")).toString()}),
              QStringList({"4", "5", "-2", "3", "1"}));

    // Read back through the attached store, as pmrtool --settings does.
    auto store = platform::SettingsStore::fromFile(ini);
    platform::AppSettings settings;
    settings.load(*store);
    settings.attachStore(store.get());
    const struct {
        QString printer;
        QPoint front, back;
    } cases[] = {
        {office, {4, 5}, {-2, 3}},
        {QStringLiteral("never adjusted"), {1, 0}, {1, -1}}, // the global ones
        {QString(), {1, 0}, {1, -1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settings.printerAdjustment(c.printer), c.front) << c.printer.toStdString();
        EXPECT_EQ(settings.printerBackAdjustment(c.printer), c.back) << c.printer.toStdString();
    }
}
