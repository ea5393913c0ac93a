#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

namespace tov::entry {

// The rows of one answer grid: the item's label, then a column per choice. Its colours show
// the operator where the keying is: the keyed row is cyan across; on the other rows the answer
// is an X on green, and the rest of a row read with doubt from a scanned sheet is amber.
class AnswerGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // One row per label ("12."), in order; headers name the item column and the choices.
    AnswerGridModel(const QStringList& headers, const QStringList& labels,
                    QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int choices() const { return static_cast<int>(headers_.size()) - 1; }
    // The item a row names, 0 when its label names none or there is no such row.
    int itemOfRow(int row) const { return row >= 0 && row < rows_.size() ? rows_[row].item : 0; }
    // The answer shown on every row naming the item; a code without a column shows none.
    void setCode(int item, int code);
    void setDoubtfulItems(const QList<int>& items);
    // The row being keyed, -1 for none.
    void setKeyedRow(int row);

private:
    struct Row {
        QString label;
        int item;
        int code = 0;
    };
    void rowChanged(int row);

    QStringList headers_;
    QList<Row> rows_;
    QList<int> doubtful_;
    int keyed_ = -1;
};

} // namespace tov::entry
