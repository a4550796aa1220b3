#pragma once

#include <QAbstractListModel>

namespace kwizmar {

class TResultsLog;

// The lines of the results log for a list view, one row per line. A row is
// decoded from the log's bytes only when it is drawn, so that a long log
// opens at once. Every row reports the same size: the list's line height and
// the horizontal extent the list is given (0: as wide as the view).
class TLogListModel final : public QAbstractListModel {
public:
    TLogListModel(const TResultsLog& log, int lineHeight, QObject* parent);

    // The list view asks for an index of every row each time it lays the
    // list out: they are made from the number of rows at the last Reload.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The lines changed as a whole; until then the model shows the number of
    // lines the log had at the last Reload.
    void Reload();
    void SetExtent(int extent) { extent_ = extent; }
    int Extent() const { return extent_; }

private:
    const TResultsLog& log_;
    int rows_ = 0;
    int lineHeight_;
    int extent_ = 0;
};

} // namespace kwizmar
