#pragma once

#include <QAbstractListModel>

namespace kwizmar {

class TResultsLog;

// The lines of the results log for a list view, one row per line. A row is
// decoded from the log's bytes only when it is drawn, so that a long log
// opens at once.
class TLogListModel final : public QAbstractListModel {
public:
    TLogListModel(const TResultsLog& log, QObject* parent);

    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The lines changed as a whole; until then the model shows the number of
    // lines the log had at the last Reload.
    void Reload();

private:
    const TResultsLog& log_;
    int rows_ = 0;
};

} // namespace kwizmar
