// The editor window's exchange with other quiz programs: questions imported
// from Aiken and GIFT files or merged from another test, with the ones
// refused listed, and the test exported as GIFT.
#include "Edytor.h"

#include "AtomicFile.h"
#include "ErrorHandler.h"
#include "Errors.h"
#include "GiftExport.h"
#include "Paths.h"
#include "QuestionImport.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace kwizmar {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// "1 pytanie", "3 pytania", "5 pytań", "22 pytania".
QString Questions(int n) {
    const int tens = n % 100, ones = n % 10;
    const char* word = n == 1                                               ? "pytanie"
                       : ones >= 2 && ones <= 4 && (tens < 12 || tens > 14) ? "pytania"
                                                                            : "pytań";
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(word));
}

// "Pytanie zapisane w HTML lub Markdown zamieniono na zwykły tekst (wiersz
// pliku: 3)." or, for several, "Pytania zapisane … (wiersze pliku: 3, 7, 12).".
QString ConvertedSentence(const std::vector<int>& lines) {
    QStringList numbers;
    for (const int line : lines)
        numbers << QString::number(line);
    return lines.size() == 1
               ? QStringLiteral("Pytanie zapisane w HTML lub Markdown zamieniono na zwykły tekst "
                                "(wiersz pliku: %1).")
                     .arg(numbers.front())
               : QStringLiteral("Pytania zapisane w HTML lub Markdown zamieniono na zwykły tekst "
                                "(wiersze pliku: %1).")
                     .arg(numbers.join(QStringLiteral(", ")));
}

// What the import did: the questions added, those converted to plain text
// and, one a line, those refused with their line in the file and the reason.
void ShowImportReport(QWidget* parent, const QString& path, const TImportedQuestions& imported) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("Import"));
    dialog.setWindowTitle(QStringLiteral("Import pytań"));
    auto* layout = new QVBoxLayout(&dialog);
    const int added = static_cast<int>(imported.questions.size());
    const QString file = QDir::toNativeSeparators(path);
    QString summary =
        added > 0 ? QStringLiteral("Z pliku %1 dopisano do testu %2.").arg(file, Questions(added))
                  : QStringLiteral("Z pliku %1 nie dopisano żadnego pytania.").arg(file);
    if (!imported.convertedLines.empty())
        summary += QStringLiteral("\n\n") + ConvertedSentence(imported.convertedLines);
    if (!imported.refusals.empty())
        summary += QStringLiteral("\n\nPytania pominięte, bo test nie może ich przyjąć "
                                  "(wiersz pliku: powód):");
    else if (added == 0)
        summary += QStringLiteral(
            " Nie ma w nim ani pytań w formacie Aiken lub GIFT, ani testu programu Kwizmar.");
    auto* label = new QLabel(summary, &dialog);
    label->setObjectName(QStringLiteral("ImportPodsumowanie"));
    label->setWordWrap(true);
    layout->addWidget(label);
    if (!imported.refusals.empty()) {
        auto* list = new QListWidget(&dialog);
        list->setObjectName(QStringLiteral("ImportPominiete"));
        for (const TImportRefusal& refusal : imported.refusals)
            list->addItem(
                QStringLiteral("wiersz %1: %2.").arg(refusal.line).arg(Q(refusal.reason)));
        // A long reason goes on in the next line rather than out of sight.
        list->setWordWrap(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setMinimumSize(640, 220);
        layout->addWidget(list, 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace

void TEdytor::ImportDialog() {
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Importuj pytania"), StartFolder(),
        QStringLiteral("Pytania Aiken i GIFT, testy Kwizmar (*.txt *.gift *.ts2);;"
                       "Wszystkie pliki (*)"));
    if (!path.isEmpty())
        ImportFile(QDir::toNativeSeparators(path));
}

void TEdytor::ImportFile(const QString& path) {
    TImportedQuestions imported;
    try {
        imported = ImportQuestionsFromFile(path.toStdString());
    } catch (const EFOpenError& e) {
        ShowException(e);
        return;
    }
    Edit([&] { logic_.AppendQuestions(imported.questions); });
    ShowImportReport(this, path, imported);
}

void TEdytor::ExportGift() {
    const QString name =
        QFileInfo(Q(logic_.SuggestedPath().empty() ? logic_.DisplayName() : logic_.SuggestedPath()))
            .completeBaseName() +
        QStringLiteral(".gift");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Eksportuj do GIFT"),
                                                      QDir(StartFolder()).filePath(name),
                                                      QStringLiteral("GIFT (*.gift *.txt)"));
    if (!path.isEmpty())
        RunGuarded([&] {
            WriteFileAtomically(PathFromUtf8(QDir::toNativeSeparators(path).toStdString()), GiftText(logic_.Document()));
        });
}

} // namespace kwizmar
