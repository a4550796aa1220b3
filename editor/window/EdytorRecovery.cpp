// The editor window's copy of an unsaved test for the next editor, should
// this one end without saving: kept current a few seconds after a change,
// written at the system's request to end, offered back at the next start.
#include "Edytor.h"

#include "ErrorHandler.h"
#include "Folders.h"
#include "Paths.h"
#include "Recovery.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace kwizmar {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// How long after a change the copy is written: typing goes on undisturbed,
// and a crash loses no more than this.
constexpr int kCopyDelayMs = 3000;

} // namespace

void TEdytor::StartKeepingCopies() {
    if (UserDataFolder().empty())
        return;
    keeper_ = std::make_unique<TRecoveryKeeper>(
        PathFromUtf8(UserDataFolder()),
        static_cast<unsigned long>(QCoreApplication::applicationPid()));
    copyTimer_ = new QTimer(this);
    copyTimer_->setSingleShot(true);
    copyTimer_->setInterval(kCopyDelayMs);
    connect(copyTimer_, &QTimer::timeout, this, [this] {
        if (!logic_.Modified())
            return;
        keeper_->Keep(TextSourceBytes(logic_.Document()), BelongsTo());
        copyKept_ = true;
    });
}

// Whole, so that an editor started from another folder finds it.
std::string TEdytor::BelongsTo() const {
    const std::string& path = !logic_.Path().empty() ? logic_.Path() : logic_.DraftPath();
    return path.empty() ? path : QFileInfo(Q(path)).absoluteFilePath().toStdString();
}

void TEdytor::KeepCopyCurrent() {
    if (!keeper_)
        return;
    if (!logic_.Modified()) {
        copyDue_ = false;
        copyTimer_->stop();
        if (copyKept_)
            keeper_->Discard();
        copyKept_ = false;
        return;
    }
    // Not restarted by every keystroke: a teacher typing on and on still has
    // a copy every few seconds.
    if (std::exchange(copyDue_, false) && !copyTimer_->isActive())
        copyTimer_->start();
}

void TEdytor::closeEvent(QCloseEvent* event) {
    if (!ending_ && !MaySetTestAside()) {
        event->ignore();
        return;
    }
    // Saved or set aside by the teacher: nothing to offer the next editor.
    if (keeper_ && !ending_) {
        copyTimer_->stop();
        keeper_->Discard();
        copyKept_ = false;
    }
    event->accept();
}

void TEdytor::KeepAndEnd() {
    if (logic_.Modified() && keeper_) {
        keeper_->Keep(TextSourceBytes(logic_.Document()), BelongsTo());
        keeper_->Flush();
    }
    ending_ = true;
    QCoreApplication::quit();
}

bool TEdytor::OfferRecovery() {
    if (UserDataFolder().empty())
        return false;
    const auto found = FindRecovery(PathFromUtf8(UserDataFolder()));
    if (!found)
        return false;
    const QString of =
        found->belongsTo.empty()
            ? QStringLiteral("w nowym teście")
            : QStringLiteral("w teście %1").arg(QDir::toNativeSeparators(Q(found->belongsTo)));
    QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                    QStringLiteral("Edytor został zamknięty (np. przy wylogowaniu albo w "
                                   "awarii), zanim zapisano zmiany %1. Zachował je.\n\n"
                                   "Przywrócić je teraz? Trzeba je potem zapisać.")
                        .arg(of),
                    QMessageBox::NoButton, this);
    QPushButton* restore = box.addButton(QStringLiteral("&Przywróć"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("&Odrzuć"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    bool restored = false;
    if (box.clickedButton() == restore) {
        try {
            logic_.OpenRecovered(Utf8FromPath(found->draft), found->belongsTo);
            freshQuestion_ = -1;
            restored = true;
            copyDue_ = true; // kept again under this editor
        } catch (const std::exception& e) {
            ShowException(e);
            return false; // kept for another try
        }
    }
    DiscardRecovery(*found);
    Render();
    return restored;
}

} // namespace kwizmar
