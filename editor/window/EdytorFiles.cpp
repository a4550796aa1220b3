// The editor window's files: new, open, save, export, recent files, and
// trying the test in the exam program.
#include "Edytor.h"

#include "ErrorHandler.h"
#include "Errors.h"
#include "ProgramData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kwizmar {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

const QString kTitle = QStringLiteral("Edytor testów Kwizmar 2002");

// The exam program: beside the editor (the build folder, the installed
// programs' folder, a folder with both), else on the PATH.
QString ExamProgram() {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {here.filePath(QStringLiteral("kwizmar")), here.filePath(QStringLiteral("kwizmar.exe"))})
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("kwizmar"));
}

} // namespace

void TEdytor::NewTest() {
    if (!MaySetTestAside())
        return;
    logic_.New(Today());
    Render();
}

QString TEdytor::StartFolder() const {
    if (!logic_.SuggestedPath().empty())
        return QFileInfo(Q(logic_.SuggestedPath())).absolutePath();
    // The sample tests, where the exam program finds them too.
    const QString samples = QString::fromStdString(ProgramDataFolder()) + QStringLiteral("/Testy");
    return QFileInfo(samples).isDir() ? QFileInfo(samples).absoluteFilePath() : QDir::homePath();
}

void TEdytor::OpenDialog() {
    if (!MaySetTestAside())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Otwórz test"), StartFolder(),
        QStringLiteral("Testy i teksty źródłowe (*.ts2 *.TS2 *.txt);;Testy (*.ts2 *.TS2);;"
                       "Teksty źródłowe (*.txt);;Wszystkie pliki (*)"));
    if (!path.isEmpty())
        OpenFile(path);
}

bool TEdytor::OpenFile(const QString& path) {
    try {
        logic_.Open(path.toStdString());
    } catch (const EDocumentError& e) {
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie można otworzyć pliku %1:\n\n%2.")
                                 .arg(QDir::toNativeSeparators(path), Q(e.what())));
        return false;
    } catch (const EFOpenError& e) {
        ShowException(e);
        recent_.Remove(path.toStdString());
        return false;
    }
    Remember(path.toStdString());
    Render();
    return true;
}

void TEdytor::TellSaveRefused(const QString& what) {
    const TCheck* first = nullptr;
    for (const TCheck& check : logic_.Checks())
        if (check.severity == TSeverity::Error && !first)
            first = &check;
    QString where;
    if (first && first->where.question >= 0) {
        where = QStringLiteral("pytanie %1, %2").arg(first->where.question + 1);
        where = where.arg(Q(FieldName(first->where)).section(QLatin1Char(' '), 0, 0));
    } else if (first) {
        where = Q(FieldName(first->where));
    }
    QMessageBox::warning(
        this, kTitle,
        QStringLiteral("%1: w teście są błędy (%2), a program Kwizmar odrzuciłby taki test albo "
                       "egzamin by się nie udał.\n\nPierwszy błąd (%3): %4\n\nBłędy są "
                       "opisane na czerwono pod polami.")
            .arg(what)
            .arg(logic_.ErrorCount())
            .arg(where, first ? Q(first->text) : QString()));
    if (first && first->where.question >= 0) {
        logic_.Select(first->where.question);
        Render();
    }
    for (const TBoundField& field : fields_)
        if (first && field.ref() == first->where) {
            field.edit->setFocus();
            break;
        }
}

bool TEdytor::Save() {
    bool saved = false;
    RunGuarded([&] {
        switch (logic_.Save()) {
        case TSaveOutcome::Saved:
            Remember(logic_.Path());
            saved = true;
            break;
        case TSaveOutcome::NeedsPath:
            saved = SaveAs();
            break;
        case TSaveOutcome::HasErrors:
            TellSaveRefused(QStringLiteral("Test nie został zapisany"));
            break;
        }
    });
    Render();
    return saved;
}

bool TEdytor::SaveAs() {
    if (logic_.ErrorCount() > 0) {
        TellSaveRefused(QStringLiteral("Test nie został zapisany"));
        return false;
    }
    // A new test is offered a file named after it, among the teacher's documents.
    QString suggested = Q(logic_.SuggestedPath());
    if (suggested.isEmpty()) {
        QString name = Q(NameOfLine(logic_.Document().nameLine)).trimmed();
        name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString folder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        suggested = QDir(folder).filePath((name.isEmpty() ? QStringLiteral("test") : name) +
                                          QStringLiteral(".ts2"));
    }
    QFileDialog dialog(this, QStringLiteral("Zapisz test jako"), suggested,
                       QStringLiteral("Testy (*.ts2)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ts2"));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    bool saved = false;
    RunGuarded([&] {
        saved = logic_.SaveAs(dialog.selectedFiles().front().toStdString()) == TSaveOutcome::Saved;
        if (saved)
            Remember(logic_.Path());
    });
    Render();
    return saved;
}

void TEdytor::ExportTextSource() {
    QString suggested =
        Q(logic_.SuggestedPath().empty() ? logic_.DisplayName() : logic_.SuggestedPath());
    suggested = QFileInfo(suggested).completeBaseName() + QStringLiteral(".txt");
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Eksportuj jako tekst źródłowy"),
        QDir(StartFolder()).filePath(suggested), QStringLiteral("Teksty źródłowe (*.txt)"));
    if (!path.isEmpty())
        RunGuarded([&] { logic_.ExportTextSource(path.toStdString()); });
}

void TEdytor::TryIt() {
    const QString program = ExamProgram();
    if (program.isEmpty()) {
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie znaleziono programu Kwizmar (kwizmar) ani obok "
                                            "edytora, ani w ścieżce PATH."));
        return;
    }
    const QString scratch = QDir::temp().filePath(
        QStringLiteral("kwizmar-edytor-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(scratch);
    std::string file;
    RunGuarded([&] { file = logic_.FileToTry(scratch.toStdString()); });
    if (file.empty()) {
        if (logic_.ErrorCount() > 0)
            TellSaveRefused(QStringLiteral("Nie można wypróbować testu"));
        return;
    }
    if (!QProcess::startDetached(program, {Q(file)}))
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie udało się uruchomić programu %1.").arg(program));
}

void TEdytor::Remember(const std::string& path) {
    // The list is a convenience: a settings file that can't be written must
    // not spoil an open or a save.
    try {
        recent_.Add(QFileInfo(Q(path)).absoluteFilePath().toStdString());
    } catch (const EPlatformError&) {
    }
}

void TEdytor::FillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::string> paths = recent_.List();
    if (paths.empty()) {
        recentMenu_->addAction(QStringLiteral("(brak)"))->setEnabled(false);
        return;
    }
    int number = 1;
    for (const std::string& path : paths) {
        const QString shown = QDir::toNativeSeparators(Q(path));
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number++).arg(shown));
        connect(action, &QAction::triggered, this, [this, path] {
            if (MaySetTestAside())
                OpenFile(Q(path));
        });
    }
}

bool TEdytor::MaySetTestAside() {
    if (!logic_.Modified())
        return true;
    QMessageBox box(QMessageBox::Question, kTitle,
                    QStringLiteral("Test %1 został zmieniony. Czy zapisać zmiany?")
                        .arg(Q(logic_.DisplayName())),
                    QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(QStringLiteral("&Zapisz"), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QStringLiteral("&Nie zapisuj"), QMessageBox::DestructiveRole);
    box.addButton(QStringLiteral("&Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.exec();
    if (box.clickedButton() == discard)
        return true;
    if (box.clickedButton() == save)
        return Save();
    return false;
}

} // namespace kwizmar
