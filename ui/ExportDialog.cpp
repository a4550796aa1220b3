#include "ExportDialog.h"

#include "ErrorHandler.h"
#include "ExportFile.h"
#include "QtRegionalSettings.h"
#include "RightButtonHelp.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

namespace kwizmar {

namespace {

const QString kXlsxFilter = QStringLiteral("Skoroszyt programu Excel (*.xlsx)");
const QString kCsvFilter = QStringLiteral("Tekst CSV rozdzielany średnikami (*.csv)");

} // namespace

TExportDialog::TExportDialog(QWidget* parent)
    : QFileDialog(parent, QStringLiteral("Eksportuj wyniki"),
                  QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) {
    setObjectName(QStringLiteral("ExportDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setNameFilters({kXlsxFilter, kCsvFilter});
    setDefaultSuffix(QStringLiteral("xlsx"));
    selectFile(QStringLiteral("wyniki.xlsx"));
    HelpOnF1(this, "arkusz");
    // Named for a screen reader as their captions read: a save dialog's
    // captions are not their buddies everywhere (Windows).
    for (const auto& [list, caption] :
         {std::pair{"lookInCombo", "lookInLabel"}, std::pair{"fileTypeCombo", "fileTypeLabel"}}) {
        auto* combo = findChild<QComboBox*>(QLatin1String(list));
        auto* label = findChild<QLabel*>(QLatin1String(caption));
        if (combo && label)
            combo->setAccessibleName(
                label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed());
    }
    connect(this, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        const QString suffix =
            filter == kCsvFilter ? QStringLiteral("csv") : QStringLiteral("xlsx");
        setDefaultSuffix(suffix);
        // The name keeps what the user typed; only its ending follows the type.
        if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            QString text = name->text();
            if (text.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ||
                text.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
                text.truncate(text.lastIndexOf(QLatin1Char('.')));
            name->setText(text.isEmpty() ? QString() : text + QLatin1Char('.') + suffix);
        }
    });
}

void ExportWithDialog(QWidget* parent, const std::vector<std::string>& lines,
                      const TExportFilter& filter) {
    TExportDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
    RunGuarded([&] {
        const TQtRegionalSettings regional;
        ExportLogLines(path, lines, TExportTable(regional.ShortDateFormat()), filter);
    });
}

void ExportAnalysisWithDialog(QWidget* parent, const TQuestionAnalysis& analysis) {
    TExportDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Eksportuj analizę pytań"));
    dialog.selectFile(QStringLiteral("analiza-pytan.xlsx"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const std::string path = QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
    RunGuarded([&] { ExportQuestionAnalysis(path, analysis); });
}

} // namespace kwizmar
