// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/ControlIds.h"
#include "ui/DialogTemplate.h"

#include <QRect>
#include <QString>

namespace print {

class ProgressFrame;

// The modeless "印刷中..." window of a print job (template 151): a status line and
// a blue bar. The job runs without the event loop, so every change repaints at once.
class PrintProgressDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    static constexpr int kStatusId = ctl::printing::Status;
    static constexpr int kBarId = ctl::printing::Bar;

    explicit PrintProgressDlg(QWidget* parent = nullptr);
    ~PrintProgressDlg() override;

    // Shows the window and lets it appear on the screen before the job starts.
    void showNow();

    void setStatus(const QString& text);
    QString status() const;
    // A total of 0 or less shows no bar at all.
    void setTotal(int total);
    int total() const { return total_; }
    void showProgress(int n);
    int progress() const { return progress_; }

    // "s/sheets ﾍﾟｰｼﾞ、c/cards･･･": sheet of sheets, card of cards on the sheet.
    static QString cardStatus(qint64 sheet, qint64 sheets, qint64 card, qint64 cards);
    // The blue part of the bar: the frame's client area less one pixel on every
    // side, its width cut to width × n ÷ total; empty when total is 0 or less.
    static QRect barRect(const QRect& client, int n, int total);

private:
    ProgressFrame* bar_ = nullptr;
    int total_ = 100;
    int progress_ = 0;
};

} // namespace print
