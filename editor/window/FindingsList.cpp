#include "FindingsList.h"

#include "Fields.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kwizmar {

TFindingsList::TFindingsList(QWidget* parent, std::function<void(TFieldRef)> goTo)
    : QDialog(parent), goTo_(std::move(goTo)) {
    setObjectName(QStringLiteral("ListaUwag"));
    setWindowTitle(QStringLiteral("Błędy i uwagi – Edytor testów Kwizmar 2002"));
    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(QStringLiteral("Enter albo podwójne kliknięcie przenosi do pola."), this);
    layout->addWidget(hint);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Uwagi"));
    list_->setWordWrap(true);
    layout->addWidget(list_, 1);
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row >= 0 && row < static_cast<int>(checks_.size()))
            goTo_(checks_[static_cast<std::size_t>(row)].where);
    });
    resize(560, 420);
}

void TFindingsList::Show(const std::vector<TCheck>& checks) {
    checks_ = checks;
    const int keep = list_->currentRow();
    list_->clear();
    for (const TCheck& check : checks_) {
        QString where = QString::fromStdString(FieldName(check.where));
        if (!where.isEmpty())
            where[0] = where[0].toUpper();
        auto* item = new QListWidgetItem(QStringLiteral("%1 – %2 %3")
                                             .arg(where,
                                                  check.severity == TSeverity::Error
                                                      ? QStringLiteral("Błąd:")
                                                      : QStringLiteral("Uwaga:"),
                                                  QString::fromStdString(check.text)),
                                         list_);
        item->setForeground(check.severity == TSeverity::Error ? QColor(0xC0, 0x00, 0x00)
                                                               : QColor(0x8A, 0x5A, 0x00));
    }
    if (checks_.empty())
        list_->addItem(QStringLiteral("Test nie ma błędów ani uwag."));
    list_->setCurrentRow(std::min(std::max(keep, 0), list_->count() - 1));
}

} // namespace kwizmar
