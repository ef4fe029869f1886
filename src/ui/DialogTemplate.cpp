// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogTemplate.h"

#include "platform/Codec.h"
#include "platform/GdiMath.h"
#include "ui/PlainTextField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>

namespace ui {

DialogUnits DialogUnits::forFont(const QFont& font)
{
    const QFontMetrics fm(font);
    const int cx = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (cx / 26 + 1) / 2;
    const int baseY = fm.height();
    return DialogUnits(baseX > 0 ? baseX : 1, baseY > 0 ? baseY : 1);
}

int DialogUnits::toPixelsX(int du) const { return platform::mulDivNearest(du, baseX_, 4); }
int DialogUnits::toPixelsY(int du) const { return platform::mulDivNearest(du, baseY_, 8); }

QRect DialogUnits::toPixels(int x, int y, int w, int h) const
{
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(w), toPixelsY(h));
}

QFont dialogFont(const DialogSpec& tmpl)
{
    QFont font(QString::fromUtf8(tmpl.fontFace));
    int dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = qRound(screen->logicalDotsPerInchY());
    // The platform makes a dialog font of -MulDiv(points, dpi, 72) pixels.
    font.setPixelSize(qMax(1, platform::mulDivNearest(tmpl.pointSize, dpi, 72)));
    return font;
}

TemplateDialog::TemplateDialog(const DialogSpec& tmpl, QWidget* parent, const Options& options)
    : QDialog(parent), tmpl_(tmpl)
{
    const QFont font = dialogFont(tmpl);
    setFont(font);
    units_ = DialogUnits::forFont(font);
    setWindowTitle(QString::fromUtf8(tmpl.title));
    setFixedSize(units_.toPixelsX(tmpl.width), units_.toPixelsY(tmpl.height));

    for (const ControlSpec& c : tmpl.controls) {
        QWidget* w = options.factory ? options.factory(c, this) : nullptr;
        if (!w)
            w = createStandardControl(c, this, options.images);
        QRect place = units_.toPixels(c.x, c.y, c.w, c.h);
        // A drop-down list's height is that of its open list; closed it is one line.
        if (c.kind == CtrlKind::ComboBox)
            place.setHeight(w->sizeHint().height());
        w->setGeometry(place);
        w->setVisible(c.visible);
        if (c.id != kNoId) {
            w->setProperty("ctrlId", c.id);
            w->setObjectName(QStringLiteral("ctrl%1").arg(c.id));
            items_.insert(c.id, w);
            order_.append(c.id);
        }
        wire(w, c);
    }
}

QWidget* TemplateDialog::createStandardControl(const ControlSpec& c, QWidget* parent,
                                               const ImageProvider& images)
{
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case CtrlKind::PushButton:
    case CtrlKind::DefPushButton: {
        auto* b = new QPushButton(text, parent);
        b->setAutoDefault(false);
        b->setDefault(c.kind == CtrlKind::DefPushButton);
        return b;
    }
    case CtrlKind::Label: {
        auto* l = new QLabel(text, parent);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment((c.flags & platform::CenterText ? Qt::AlignHCenter : c.flags & platform::RightText ? Qt::AlignRight : Qt::AlignLeft)
                        | Qt::AlignTop);
        l->setWordWrap(true);
        return l;
    }
    case CtrlKind::BlackFrame:
    case CtrlKind::SunkenFrame: {
        auto* f = new QFrame(parent);
        f->setFrameStyle(c.kind == CtrlKind::BlackFrame ? (QFrame::Box | QFrame::Plain)
                                                         : (QFrame::Panel | QFrame::Sunken));
        f->setLineWidth(1);
        QPalette pal = f->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        f->setPalette(pal);
        return f;
    }
    case CtrlKind::HScrollBar:
        return new QScrollBar(Qt::Horizontal, parent);
    case CtrlKind::VScrollBar:
        return new QScrollBar(Qt::Vertical, parent);
    case CtrlKind::Edit: {
        auto* e = new QLineEdit(text, parent);
        e->setReadOnly(c.flags & platform::ReadOnly);
        return e;
    }
    case CtrlKind::NumberEdit: {
        auto* e = new QLineEdit(text, parent);
        e->setAlignment((c.flags & platform::LeftText ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        return e;
    }
    case CtrlKind::MultiLineEdit: {
        auto* e = new PlainTextField(text, parent);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->setTabChangesFocus(true);
        return e;
    }
    case CtrlKind::Radio: {
        auto* r = new QRadioButton(text, parent);
        r->setAutoExclusive(false); // the owner keeps the groups
        return r;
    }
    case CtrlKind::CheckBox:
        return new QCheckBox(text, parent);
    case CtrlKind::Icon: {
        auto* l = new QLabel(parent);
        if (images)
            l->setPixmap(images(c.resource));
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    }
    case CtrlKind::GroupBox:
        return new QGroupBox(text, parent);
    case CtrlKind::ListBox:
        return new QListWidget(parent);
    case CtrlKind::ComboBox:
        return new QComboBox(parent);
    }
    return new QWidget(parent);
}

void TemplateDialog::wire(QWidget* w, const ControlSpec& c)
{
    const int id = c.id;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        connect(b, &QAbstractButton::clicked, this, [this, id] { onCommand(id, Notify::Clicked); });
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textChanged, this, [this, id] { onCommand(id, Notify::EditChange); });
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        connect(m, &QPlainTextEdit::textChanged, this, [this, id] { onCommand(id, Notify::EditChange); });
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        // Only a choice of the user, as a selection change of a drop-down list.
        connect(cb, &QComboBox::activated, this, [this, id] { onCommand(id, Notify::SelChange); });
    } else if (auto* l = qobject_cast<QListWidget*>(w)) {
        connect(l, &QListWidget::itemDoubleClicked, this, [this, id] { onCommand(id, Notify::DoubleClick); });
    }
}

void TemplateDialog::onCommand(int id, Notify code)
{
    if (code != Notify::Clicked)
        return;
    if (id == 1)
        accept();
    else if (id == 2)
        reject();
}

} // namespace ui
