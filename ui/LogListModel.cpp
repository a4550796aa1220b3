#include "LogListModel.h"

#include "ResultsLog.h"

#include <QSize>

namespace kwizmar {

TLogListModel::TLogListModel(const TResultsLog& log, int lineHeight, QObject* parent)
    : QAbstractListModel(parent), log_(log), lineHeight_(lineHeight) {}

int TLogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(log_.LineCount());
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
    endResetModel();
}

} // namespace kwizmar
