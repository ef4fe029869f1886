// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/QrContent.h"
#include "ui/DialogTemplate.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>

class QLineEdit;

// "QRコード" (template 190): what a code says, as a web address, a contact or a
// free text, with its error-correction level and a preview that follows the
// typing. Each kind keeps what was typed into it while another is shown. OK
// ends the dialog only for content that fits a code.
class QrCodeDlg : public ui::TemplateDialog {
    Q_OBJECT
public:
    // start: the content shown first; color: the dark modules' colour in the preview.
    explicit QrCodeDlg(const QrContent& start, std::uint32_t color = 0, QWidget* parent = nullptr);

    // Shows the dialog modally through the provider; QDialog::Accepted or Rejected.
    int run();
    // What the shown kind's fields say, at the chosen level.
    QrContent content() const;
    // The preview as drawn last: the code's picture, one pixel a module; null
    // when nothing is typed or the content does not fit.
    const QImage& preview() const { return preview_; }

    // Puts content in the fields as if typed (the kind shown, its fields, the level).
    void setContent(const QrContent& content);

    // Replaces the modal run (tests drive or answer the dialog this way); returns
    // the previous provider. An empty provider restores exec().
    using Provider = std::function<int(QrCodeDlg&)>;
    static Provider setProvider(Provider provider);

protected:
    void onCommand(int id, ui::Notify code) override;

private:
    static bool isBlank(const QrContent& content);
    void showKind(QrContent::Kind kind);
    void updatePreview();
    void onOk();
    QLineEdit* edit(int id) const;

    QrContent::Kind kind_ = QrContent::Url;
    std::uint32_t color_;
    QImage preview_;
};
