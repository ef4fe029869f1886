#pragma once

#include <QString>

namespace platform {

class SettingsStore;

// Process-wide settings, alive from start-up to exit. Folders are limited to what
// a 256-byte buffer holds (255 bytes and a terminator): longer values are refused.
class AppSettings {
public:
    static constexpr int kMaxFolderBytes = 255;

    const QString& appDir() const { return appDir_; }
    const QString& documentFolder() const { return documentFolder_; }
    const QString& pictureFolder() const { return pictureFolder_; }
    int adjustX() const { return adjustX_; }
    int adjustY() const { return adjustY_; }

    void setAppDir(const QString& dir) { appDir_ = dir; }
    // Return false and keep the previous value when the folder is too long or empty.
    bool setDocumentFolder(const QString& dir);
    bool setPictureFolder(const QString& dir);
    void setAdjustX(int v) { adjustX_ = v; }
    void setAdjustY(int v) { adjustY_ = v; }

    // Start-up steps: both folders become the application directory, adjustments 0.
    void resetToDefaults();

    // Read or write "dir"/"save", "dir"/"bmp", "print"/"adj_x", "print"/"adj_y", in that order.
    void load(SettingsStore& store);
    void store(SettingsStore& store) const;

    // The store the running program keeps its settings in; null when none.
    void attachStore(SettingsStore* store) { store_ = store; }
    // Writes "print"/"adj_x" and "print"/"adj_y" to the attached store now.
    void storeAdjustments() const;

    static bool fitsFolderBuffer(const QString& dir);

private:
    QString appDir_;
    QString documentFolder_;
    QString pictureFolder_;
    int adjustX_ = 0;
    int adjustY_ = 0;
    SettingsStore* store_ = nullptr;
};

// The one instance of the process.
AppSettings& appSettings();

} // namespace platform
