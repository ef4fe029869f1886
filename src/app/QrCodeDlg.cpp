// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/QrCodeDlg.h"

#include "model/QrPicture.h"
#include "resources/ControlIds.h"
#include "resources/QrTexts.h"
#include "resources/Templates.h"
#include "ui/MessageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace {

namespace ids = ctl::qr;
namespace texts = resources::texts::qr;

constexpr int kKindButtons[] = {ids::KindUrl, ids::KindContact, ids::KindText};

QrCodeDlg::Provider& providerSlot()
{
    static QrCodeDlg::Provider provider;
    return provider;
}

ui::TemplateDialog::Options dialogOptions()
{
    ui::TemplateDialog::Options options;
    options.factory = [](const platform::ControlSpec& c, QWidget* parent) -> QWidget* {
        if (c.id != ids::Preview)
            return nullptr;
        auto* preview = new QLabel(parent);
        preview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        preview->setAlignment(Qt::AlignCenter);
        preview->setAutoFillBackground(true);
        QPalette pal = preview->palette();
        pal.setColor(QPalette::Window, Qt::white);
        preview->setPalette(pal);
        return preview;
    };
    return options;
}

} // namespace

QrCodeDlg::QrCodeDlg(const QrContent& start, std::uint32_t color, QWidget* parent)
    : TemplateDialog(resources::dialogTemplate(resources::dlg::QrCode), parent, dialogOptions()), color_(color & 0xFFFFFF)
{
    if (auto* level = itemAs<QComboBox>(ids::Level))
        for (const char* name : {"L (7%)", "M (15%)", "Q (25%)", "H (30%)"})
            level->addItem(QString::fromUtf8(name));
    setContent(start);
}

int QrCodeDlg::run()
{
    if (const Provider& p = providerSlot())
        return p(*this);
    return exec();
}

QrCodeDlg::Provider QrCodeDlg::setProvider(Provider provider)
{
    Provider previous = std::move(providerSlot());
    providerSlot() = std::move(provider);
    return previous;
}

QLineEdit* QrCodeDlg::edit(int id) const
{
    return itemAs<QLineEdit>(id);
}

void QrCodeDlg::setContent(const QrContent& content)
{
    {
        // The fields are filled quietly; the preview follows once, below.
        const QSignalBlocker quietUrl(edit(ids::Url));
        const QSignalBlocker quietText(item(ids::Text));
        switch (content.kind) {
        case QrContent::Url: edit(ids::Url)->setText(content.field(0)); break;
        case QrContent::Text: itemAs<QPlainTextEdit>(ids::Text)->setPlainText(content.field(0)); break;
        case QrContent::Contact:
            for (int i = 0; i < QrContent::ContactFieldCount; ++i) {
                const QSignalBlocker quiet(edit(ids::Contact + i));
                edit(ids::Contact + i)->setText(content.field(i));
            }
            break;
        }
    }
    if (auto* level = itemAs<QComboBox>(ids::Level))
        level->setCurrentIndex(content.level & 3);
    showKind(content.kind);
}

QrContent QrCodeDlg::content() const
{
    const auto* level = itemAs<QComboBox>(ids::Level);
    const auto chosen = QrContent::Level(level ? std::clamp(level->currentIndex(), 0, 3) : 1);
    switch (kind_) {
    case QrContent::Url: return QrContent::url(edit(ids::Url)->text().trimmed(), chosen);
    case QrContent::Text: return QrContent::text(itemAs<QPlainTextEdit>(ids::Text)->toPlainText(), chosen);
    case QrContent::Contact: break;
    }
    QStringList fields;
    for (int i = 0; i < QrContent::ContactFieldCount; ++i)
        fields << edit(ids::Contact + i)->text().trimmed();
    return QrContent::contact(fields, chosen);
}

void QrCodeDlg::showKind(QrContent::Kind kind)
{
    kind_ = kind;
    for (int i = 0; i < 3; ++i)
        if (auto* b = itemAs<QRadioButton>(kKindButtons[i]))
            b->setChecked(i == int(kind));
    item(ids::UrlCaption)->setVisible(kind == QrContent::Url);
    item(ids::Url)->setVisible(kind == QrContent::Url);
    item(ids::Text)->setVisible(kind == QrContent::Text);
    for (int i = 0; i < QrContent::ContactFieldCount; ++i) {
        item(ids::ContactCaption + i)->setVisible(kind == QrContent::Contact);
        item(ids::Contact + i)->setVisible(kind == QrContent::Contact);
    }
    const int first = kind == QrContent::Url ? ids::Url : kind == QrContent::Text ? ids::Text : ids::Contact;
    item(first)->setFocus();
    updatePreview();
}

bool QrCodeDlg::isBlank(const QrContent& content)
{
    return std::all_of(content.fields.begin(), content.fields.end(), [](const QString& f) { return f.trimmed().isEmpty(); });
}

// The preview scales the picture by a whole number of pixels a module, so every
// module shows as a crisp square. Nothing typed shows nothing.
void QrCodeDlg::updatePreview()
{
    const QrContent now = content();
    const platform::Dib picture = isBlank(now) ? platform::Dib() : qr::picture(now, color_);
    preview_ = picture.isEmpty() ? QImage() : picture.toImage();
    auto* shown = itemAs<QLabel>(ids::Preview);
    auto* size = itemAs<QLabel>(ids::Size);
    if (preview_.isNull()) {
        shown->setPixmap(QPixmap());
        size->setText(isBlank(now) ? QString() : QString::fromUtf8(texts::SizeTooLong));
        return;
    }
    const int room = std::min(shown->width(), shown->height()) - 4;
    const int scale = std::max(1, room / preview_.width());
    shown->setPixmap(QPixmap::fromImage(preview_.scaled(preview_.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    size->setText(QString::fromUtf8(texts::SizeCaption).arg(preview_.width() - 2 * qr::kQuietZone));
}

void QrCodeDlg::onCommand(int id, ui::Notify code)
{
    if (code == ui::Notify::Clicked && id == 1) {
        onOk();
        return;
    }
    for (int i = 0; i < 3; ++i)
        if (id == kKindButtons[i] && code == ui::Notify::Clicked) {
            showKind(QrContent::Kind(i));
            return;
        }
    if (code == ui::Notify::EditChange || code == ui::Notify::SelChange)
        updatePreview();
    else
        TemplateDialog::onCommand(id, code);
}

// Content with nothing typed, or too long for the largest code, keeps the dialog open.
void QrCodeDlg::onOk()
{
    const QrContent now = content();
    const char* problem = isBlank(now) ? texts::Empty : !qr::encode(now.payload(), now.level) ? texts::TooLong : nullptr;
    if (problem) {
        ui::appMessageBox(QString::fromUtf8(problem), platform::MbButtons::Ok, platform::MbIcon::Exclamation, this);
        return;
    }
    accept();
}
