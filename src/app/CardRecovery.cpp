// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CardRecovery.h"

#include "app/CardDocument.h"
#include "app/DocumentCommands.h"
#include "model/PmrDocument.h"
#include "resources/Strings.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// PELMORA_AUTOSAVE_MS shortens the wait, for tests.
int autosaveDelay()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("PELMORA_AUTOSAVE_MS", &ok);
    return ok && ms > 0 ? std::min(ms, CardRecovery::kDelayMs) : CardRecovery::kDelayMs;
}

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

CardRecovery::CardRecovery(CardDocument& doc, DocumentCommands& commands, QWidget* window, const QString& folder)
    : doc_(doc), commands_(commands), window_(window), store_(folder)
{
    // Started by a change and not again by the next, so a steady stream of
    // changes is written every delay too.
    timer_.setSingleShot(true);
    timer_.setInterval(autosaveDelay());
    connect(&timer_, &QTimer::timeout, this, &CardRecovery::writeInBackground);
    writer_.setMaxThreadCount(1);
    connect(&doc_, &CardDocument::changed, this, &CardRecovery::onDocumentChanged);
}

// A clean close: the card was saved or the user let it go.
CardRecovery::~CardRecovery()
{
    writer_.waitForDone();
    store_.remove();
}

void CardRecovery::onDocumentChanged()
{
    if (doc_.isModified()) {
        if (!timer_.isActive())
            timer_.start();
    } else {
        timer_.stop();
        writer_.waitForDone();
        store_.remove();
    }
}

bool CardRecovery::writeNow()
{
    timer_.stop();
    writer_.waitForDone();
    QByteArray bytes;
    if (!doc_.isModified() || tryDocument([&] { bytes = writeDocument(doc_.card()); }))
        return false;
    return store_.write(bytes, doc_.path());
}

void CardRecovery::writeInBackground()
{
    QByteArray bytes;
    if (!doc_.isModified() || tryDocument([&] { bytes = writeDocument(doc_.card()); }))
        return;
    writer_.start([this, bytes, path = doc_.path()] { store_.write(bytes, path); });
}

void CardRecovery::offerLeftCopies()
{
    bool taken = false;
    for (const files::RecoveryCopy& copy : store_.claimLeftCopies()) {
        if (taken)
            store_.release(copy); // one card a window: the rest wait for the next start
        else
            taken = offer(copy);
    }
}

bool CardRecovery::offer(const files::RecoveryCopy& copy)
{
    auto contents = std::make_unique<PmrData>();
    if (tryDocument([&] { readDocumentFile(copy.file, *contents); })) {
        const QString aside = store_.setAside(copy);
        ui::appMessageBox(text(resources::texts::RecoveryDamaged).arg(QDir::toNativeSeparators(aside)),
                          platform::MbButtons::Ok, platform::MbIcon::Exclamation, window_);
        return false;
    }
    const QString name =
        copy.documentPath.isEmpty() ? text(resources::texts::RecoveryUntitled) : QFileInfo(copy.documentPath).fileName();
    const QString when = copy.time.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    switch (ui::appMessageBox(text(resources::texts::RecoveryOffer).arg(name, when), platform::MbButtons::YesNoCancel,
                              platform::MbIcon::Question, window_)) {
    case platform::IdYes:
        commands_.recover(std::move(contents), copy.documentPath);
        // The card is in this editor's copy before the old one goes.
        if (writeNow())
            store_.discard(copy);
        else
            store_.release(copy);
        return true;
    case platform::IdNo:
        if (ui::appMessageBox(text(resources::texts::RecoveryDiscard), platform::MbButtons::YesNo,
                              platform::MbIcon::Exclamation, window_) == platform::IdYes) {
            store_.discard(copy);
            return false;
        }
        break;
    default: break;
    }
    store_.release(copy);
    return false;
}
