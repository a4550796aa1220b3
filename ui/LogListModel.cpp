#include "LogListModel.h"

#include "ResultsLog.h"

namespace kwizmar {

TLogListModel::TLogListModel(const TResultsLog& log, QObject* parent)
    : QAbstractListModel(parent), log_(log), rows_(int(log.LineCount())) {}

QModelIndex TLogListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= rows_)
        return {};
    return createIndex(row, 0);
}

int TLogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant TLogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= log_.LineCount())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(log_.Line(std::size_t(index.row())));
    return {};
}

void TLogListModel::Reload() {
    beginResetModel();
    rows_ = int(log_.LineCount());
    endResetModel();
}

} // namespace kwizmar
