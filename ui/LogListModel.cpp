#include "LogListModel.h"

#include "ResultsLog.h"

#include <QSize>

namespace kwizmar {

TLogListModel::TLogListModel(const TResultsLog& log, int lineHeight, QObject* parent)
    : QAbstractListModel(parent), log_(log), rows_(int(log.LineCount())), lineHeight_(lineHeight) {}

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
    if (role == Qt::SizeHintRole)
        return QSize(extent_ > 0 ? extent_ : 1, lineHeight_);
    return {};
}

void TLogListModel::Reload() {
    beginResetModel();
    rows_ = int(log_.LineCount());
    endResetModel();
}

} // namespace kwizmar
