// The editor window's files: new, open, save, export, recent files, and
// trying the test in the exam program.
#include "Edytor.h"

#include "AboutLogic.h"
#include "ErrorHandler.h"
#include "Errors.h"
#include "Folders.h"
#include "Paths.h"
#include "ProgramData.h"
#include "QuestionImport.h"
#include "Recovery.h"
#include "SaveProblems.h"

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
#include <QUrl>

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
    freshQuestion_ = logic_.Selected();
    left_.clear();
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
        OpenFile(QDir::toNativeSeparators(path));
}

bool TEdytor::OpenFile(const QString& path) {
    try {
        logic_.Open(path.toStdString());
    } catch (const EDocumentError& e) {
        if (!OfferImport(path))
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
    freshQuestion_ = -1; // an opened test shows what it has
    Render();
    return true;
}

bool TEdytor::OfferImport(const QString& path) {
    std::size_t count = 0;
    try {
        count = ImportQuestionsFromFile(path.toStdString()).questions.size();
    } catch (const EFOpenError&) {
    }
    if (count == 0)
        return false;
    QMessageBox box(QMessageBox::Question, kTitle,
                    QStringLiteral("Plik %1 nie jest testem, tylko plikiem pytań innego programu "
                                   "(w formacie Aiken lub GIFT); pytań, które test może przyjąć: "
                                   "%2.\n\nPytania z takiego pliku dopisuje do testu polecenie "
                                   "„Importuj pytania ...”. Dopisać je teraz do tego testu?")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(count),
                    QMessageBox::NoButton, this);
    QPushButton* import =
        box.addButton(QStringLiteral("&Importuj pytania ..."), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("&Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(import);
    box.exec();
    if (box.clickedButton() == import)
        ImportFile(path);
    return true;
}

bool TEdytor::TellSaveRefused(const QString& what) {
    freshQuestion_ = -1; // every error is said now
    Render();
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
    QMessageBox box(QMessageBox::Warning, kTitle,
                    QStringLiteral("%1: w teście są błędy (%2), a plik .ts2 musi być gotowy do "
                                   "egzaminu.\n\nPierwszy błąd (%3): %4\n\nBłędy są opisane na "
                                   "czerwono pod polami. Niedokończony test możesz zachować jako "
                                   "szkic (tekst źródłowy .txt) i wrócić do niego później: "
                                   "Plik > Otwórz.")
                        .arg(what)
                        .arg(logic_.ErrorCount())
                        .arg(where, first ? Q(first->text) : QString()),
                    QMessageBox::NoButton, this);
    QPushButton* draft =
        box.addButton(QStringLiteral("Zapisz &szkic ..."), QMessageBox::AcceptRole);
    QPushButton* fix = box.addButton(QStringLiteral("&Popraw błędy"), QMessageBox::RejectRole);
    box.setDefaultButton(fix);
    box.exec();
    if (box.clickedButton() == draft)
        return SaveDraft();
    if (first && first->where.question >= 0) {
        logic_.Select(first->where.question);
        Render();
    }
    for (const TBoundField& field : fields_)
        if (first && field.ref() == first->where) {
            field.widget()->setFocus();
            break;
        }
    return false;
}

bool TEdytor::TellSaveFailed(const QString& text) {
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::NoButton, this);
    QPushButton* elsewhere =
        box.addButton(QStringLiteral("Zapisz &jako ..."), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("&Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(elsewhere);
    box.exec();
    return box.clickedButton() == elsewhere && SaveAs();
}

bool TEdytor::Saved(TSaveOutcome outcome, const QString& path) {
    switch (outcome) {
    case TSaveOutcome::Saved:
        Remember(logic_.Path());
        return true;
    case TSaveOutcome::NeedsPath:
        return SaveAs();
    case TSaveOutcome::HasErrors:
        return TellSaveRefused(QStringLiteral("Test nie został zapisany"));
    case TSaveOutcome::ReadOnly:
        return TellSaveFailed(Q(ReadOnlyFileText(QDir::toNativeSeparators(path).toStdString())));
    case TSaveOutcome::ChangedOnDisk: {
        QMessageBox box(QMessageBox::Warning, kTitle,
                        Q(ChangedOnDiskText(QDir::toNativeSeparators(path).toStdString())),
                        QMessageBox::NoButton, this);
        QPushButton* replace =
            box.addButton(QStringLiteral("&Zastąp tamte zmiany"), QMessageBox::DestructiveRole);
        QPushButton* elsewhere =
            box.addButton(QStringLiteral("Zapisz &jako ..."), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("&Anuluj"), QMessageBox::RejectRole);
        box.setDefaultButton(elsewhere);
        askingAboutDisk_ = true;
        box.exec();
        askingAboutDisk_ = false;
        if (box.clickedButton() == replace)
            return Write([this] { return logic_.Save(true); }, path);
        // Told once: not again when the window comes back to the front.
        logic_.NoticeDiskChange();
        Render();
        return box.clickedButton() == elsewhere && SaveAs();
    }
    }
    return false;
}

bool TEdytor::Write(const std::function<TSaveOutcome()>& save, const QString& path) {
    TSaveOutcome outcome;
    try {
        outcome = save();
    } catch (const EFCreateError& e) {
        Render();
        return TellSaveFailed(
            Q(SaveFailureText(QDir::toNativeSeparators(path).toStdString(), e.Cause())));
    } catch (const std::exception& e) {
        ShowException(e);
        Render();
        return false;
    }
    Render();
    return Saved(outcome, path);
}

bool TEdytor::Save() {
    const bool saved = Write([this] { return logic_.Save(); }, Q(logic_.Path()));
    Render();
    return saved;
}

bool TEdytor::SaveAs() {
    if (logic_.ErrorCount() > 0)
        return TellSaveRefused(QStringLiteral("Test nie został zapisany"));
    // A new test is offered a file named after it, among the teacher's documents.
    QString suggested = Q(logic_.SuggestedPath());
    if (suggested.isEmpty())
        suggested = SuggestedNew(QStringLiteral(".ts2"));
    QFileDialog dialog(this, QStringLiteral("Zapisz test jako"), suggested,
                       QStringLiteral("Testy (*.ts2)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("ts2"));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().front());
    const bool saved = Write([&] { return logic_.SaveAs(path.toStdString()); }, path);
    Render();
    return saved;
}

QString TEdytor::SuggestedNew(const QString& extension) const {
    QString name = Q(NameOfLine(logic_.Document().nameLine)).trimmed();
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QFileInfo(documents).isDir() ? documents : QDir::homePath();
    return QDir(folder).filePath((name.isEmpty() ? QStringLiteral("test") : name) + extension);
}

// The text source, as a draft or an export: a ".txt" file the open dialog shows.
QString TEdytor::AskTextSourcePath(const QString& title) {
    QString suggested = Q(logic_.DraftPath());
    if (suggested.isEmpty())
        suggested = logic_.SuggestedPath().empty()
                        ? SuggestedNew(QStringLiteral(".txt"))
                        : QFileInfo(Q(logic_.SuggestedPath())).absolutePath() + QLatin1Char('/') +
                              QFileInfo(Q(logic_.SuggestedPath())).completeBaseName() +
                              QStringLiteral(".txt");
    QFileDialog dialog(this, title, suggested, QStringLiteral("Teksty źródłowe (*.txt)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().front());
}

bool TEdytor::SaveDraft() {
    const QString path = AskTextSourcePath(QStringLiteral("Zapisz szkic testu"));
    if (path.isEmpty())
        return false;
    try {
        logic_.SaveDraft(path.toStdString());
    } catch (const EFCreateError& e) {
        Render();
        QMessageBox::warning(
            this, kTitle,
            Q(SaveFailureText(QDir::toNativeSeparators(path).toStdString(), e.Cause())));
        return false;
    }
    Remember(logic_.DraftPath());
    Render();
    return true;
}

void TEdytor::ExportTextSource() {
    const QString path = AskTextSourcePath(QStringLiteral("Eksportuj jako tekst źródłowy"));
    if (path.isEmpty())
        return;
    try {
        logic_.ExportTextSource(path.toStdString());
    } catch (const EFCreateError& e) {
        QMessageBox::warning(
            this, kTitle,
            Q(SaveFailureText(QDir::toNativeSeparators(path).toStdString(), e.Cause())));
    }
}

void TEdytor::CheckDiskChange() {
    // Asked once per change, and not while a dialog of this window is open.
    if (askingAboutDisk_ || !isActiveWindow() || !logic_.ChangedOnDisk() ||
        logic_.DiskChangeNoticed())
        return;
    askingAboutDisk_ = true;
    const QString path = QDir::toNativeSeparators(Q(logic_.Path()));
    QMessageBox box(QMessageBox::Question, kTitle,
                    QStringLiteral("Plik %1 został zmieniony na dysku (w innym oknie edytora, "
                                   "przez kwizmar-ts2 albo przez kogoś innego).\n\n%2")
                        .arg(path, logic_.Modified()
                                       ? QStringLiteral("Wczytanie go usunie zmiany zrobione "
                                                        "tutaj, a zostawienie tego testu "
                                                        "zastąpi tamte przy zapisie (edytor "
                                                        "zapyta wtedy jeszcze raz).")
                                       : QStringLiteral("Wczytać go ponownie?")),
                    QMessageBox::NoButton, this);
    QPushButton* reload =
        box.addButton(QStringLiteral("&Wczytaj plik z dysku"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("&Zostaw ten test"), QMessageBox::RejectRole);
    box.setDefaultButton(reload);
    box.exec();
    if (box.clickedButton() == reload)
        OpenFile(Q(logic_.Path()));
    else
        logic_.NoticeDiskChange();
    askingAboutDisk_ = false;
    Render();
}

void TEdytor::StartExamProgram(const QStringList& arguments) {
    const QString program = ExamProgram();
    if (program.isEmpty())
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie znaleziono programu Kwizmar (kwizmar) ani obok "
                                            "edytora, ani w ścieżce PATH."));
    else if (!QProcess::startDetached(program, arguments))
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie udało się uruchomić programu %1.").arg(program));
}

void TEdytor::TryIt() {
    // Not the shared /tmp: a folder of this user's own, where each test has
    // one copy, written over at every try.
    const QString scratch = Q(TrialFolder());
    if (scratch.isEmpty() || !QDir().mkpath(scratch)) {
        QMessageBox::warning(this, kTitle,
                             QStringLiteral("Nie można utworzyć folderu %1 na kopię testu do "
                                            "wypróbowania. Zapisz test i spróbuj jeszcze raz.")
                                 .arg(QDir::toNativeSeparators(scratch)));
        return;
    }
    std::string file;
    RunGuarded([&] { file = logic_.FileToTry(scratch.toStdString()); });
    if (file.empty()) {
        if (logic_.ErrorCount() > 0)
            TellSaveRefused(QStringLiteral("Nie można wypróbować testu"));
        return;
    }
    // A trial: its result goes to the trial folder's log, never the class's.
    StartExamProgram({QStringLiteral("--proba"), Q(file)});
}

void TEdytor::ShowHelp() {
    const QString page =
        QString::fromStdString(ProgramDataFolder()) + QStringLiteral("/help/trelvo2006.html");
    if (!QFileInfo::exists(page)) {
        QMessageBox::warning(
            this, kTitle,
            QStringLiteral("Nie znaleziono strony pomocy %1.").arg(QDir::toNativeSeparators(page)));
        return;
    }
    QUrl url = QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath());
    url.setFragment(QStringLiteral("edytor"));
    const QString file = QDir::toNativeSeparators(QFileInfo(page).absoluteFilePath());
    shell_.Open(url.toString().toStdString(), TShowMode::Maximised, [this, file] {
        QMessageBox::warning(this, kTitle, Q(HelpPageNotOpened(file.toStdString())));
    });
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
