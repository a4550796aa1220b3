#include "LogListModel.h"

#include <QSize>

namespace kwizmar {

TLogListModel::TLogListModel(const std::vector<std::string>& lines, int lineHeight, QObject* parent)
    : QAbstractListModel(parent), lines_(lines), lineHeight_(lineHeight) {}

int TLogListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(lines_.size());
}

QVariant TLogListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || std::size_t(index.row()) >= lines_.size())
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(lines_[std::size_t(index.row())]);
    if (role == Qt::SizeHintRole)
        return QSize(extent_ > 0 ? extent_ : 1, lineHeight_);
    return {};
}

void TLogListModel::Reload() {
    beginResetModel();
    endResetModel();
}

} // namespace kwizmar
