// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AppDirectory.h"

#include <QHash>
#include <QPoint>
#include <QString>

namespace platform {

class SettingsStore;

// Process-wide settings, alive from start-up to exit. Folders are limited to what
// a 256-byte buffer holds (255 bytes and a terminator): longer values are refused.
class AppSettings {
public:
    static constexpr int kMaxFolderBytes = 255;

    const QString& appDir() const { return appDir_; }
    // The folder of the user's "cardform.ini".
    const QString& catalogueDir() const { return catalogueDir_; }
    const QString& documentFolder() const { return documentFolder_; }
    const QString& pictureFolder() const { return pictureFolder_; }
    int adjustX() const { return adjustX_; }
    int adjustY() const { return adjustY_; }

    // An application directory that also holds the catalogue and is where the
    // file dialogs start.
    void setAppDir(const QString& dir) { appDir_ = catalogueDir_ = startFolder_ = dir; }
    void setAppDirectory(const AppDirectory& dir);
    // Return false and keep the previous value when the folder is too long or empty.
    bool setDocumentFolder(const QString& dir);
    bool setPictureFolder(const QString& dir);
    void setAdjustX(int v) { adjustX_ = v; }
    void setAdjustY(int v) { adjustY_ = v; }
    // The fine adjustment of the sheets' backs, "print"/"back_x", "back_y".
    QPoint backAdjustment() const { return backAdjust_; }
    void setBackAdjustment(QPoint mm) { backAdjust_ = mm; }

    // Start-up steps: both folders become the application directory (or the
    // user's documents folder when that directory is read-only), adjustments 0,
    // no printer's offsets remembered.
    void resetToDefaults();

    // Read or write "dir"/"save", "dir"/"bmp", "print"/"adj_x", "print"/"adj_y", in that order.
    void load(SettingsStore& store);
    void store(SettingsStore& store) const;

    // The store the running program keeps its settings in; null when none.
    void attachStore(SettingsStore* store) { store_ = store; }
    // Writes "print"/"adj_x", "print"/"adj_y", the backs' adjustment and the
    // remembered printers' offsets to the attached store now.
    void storeAdjustments() const;

    // A printer's own offsets (x, y in mm): the ones remembered for its name, else
    // those of the attached store, else the global adjustments.
    QPoint printerAdjustment(const QString& printerName) const;
    // Remembers the offsets for a named printer; an empty name is ignored. They
    // reach the store with storeAdjustments() or store().
    void setPrinterAdjustment(const QString& printerName, QPoint mm);
    // The same for the backs of the sheets, kept beside the printer's front
    // offsets as "back_x", "back_y"; else the backs' global adjustment.
    QPoint printerBackAdjustment(const QString& printerName) const;
    void setPrinterBackAdjustment(const QString& printerName, QPoint mm);
    // The store section of a printer: "printers/" and the percent-encoded name.
    static QString printerSection(const QString& printerName);

    static bool fitsFolderBuffer(const QString& dir);

private:
    // The printers' offsets and the backs' adjustment.
    void writeAdjustments(SettingsStore& s) const;

    QString appDir_;
    QString catalogueDir_;
    QString startFolder_;
    QString documentFolder_;
    QString pictureFolder_;
    int adjustX_ = 0;
    int adjustY_ = 0;
    QHash<QString, QPoint> printerAdjustments_;
    QPoint backAdjust_;
    QHash<QString, QPoint> printerBackAdjustments_;
    SettingsStore* store_ = nullptr;
};

// The one instance of the process.
AppSettings& appSettings();

} // namespace platform
