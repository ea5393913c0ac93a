#include "entry/AnswerGridModel.h"

#include "entry/AnswerFormats.h"
#include "ui/ScreenKit.h"

#include <QBrush>
#include <QColor>

namespace tov::entry {

namespace {

const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kGreen(0x00, 0xFF, 0x00);
const QColor kCyan(0x00, 0xFF, 0xFF);
const QColor kBlack(0x00, 0x00, 0x00);

} // namespace

AnswerGridModel::AnswerGridModel(const QStringList& headers, const QStringList& labels,
                                 QObject* parent)
    : QAbstractTableModel(parent), headers_(headers) {
    for (const QString& label : labels) {
        rows_.append({label, ItemOfLabel(label)});
    }
}

int AnswerGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int AnswerGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant AnswerGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Row& r = rows_.at(index.row());
    const int column = index.column();
    // The item column keeps the row's own colour while the row is keyed.
    const bool keyed = column > 0 && index.row() == keyed_;
    const bool marked = column > 0 && column == r.code;
    const QColor rest = doubtful_.contains(r.item) ? ui::ScreenKit::DoubtColour() : kWhite;
    switch (role) {
    case Qt::DisplayRole:
        return column == 0 ? r.label : (marked ? QStringLiteral("X") : QString());
    case Qt::BackgroundRole:
        return QBrush(keyed ? kCyan : (marked ? kGreen : rest));
    case Qt::ForegroundRole:
        return QBrush(keyed || marked ? kBlack : kNavy);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}

QVariant AnswerGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < headers_.size()) {
        return headers_.at(section);
    }
    return {};
}

Qt::ItemFlags AnswerGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void AnswerGridModel::setCode(int item, int code) {
    for (int row = 0; row < rows_.size(); ++row) {
        if (rows_[row].item == item) {
            rows_[row].code = code;
            rowChanged(row);
        }
    }
}

void AnswerGridModel::setDoubtfulItems(const QList<int>& items) {
    doubtful_ = items;
    if (!rows_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }
}

void AnswerGridModel::setKeyedRow(int row) {
    const int before = keyed_;
    keyed_ = row;
    rowChanged(before);
    rowChanged(row);
}

void AnswerGridModel::rowChanged(int row) {
    if (row >= 0 && row < rows_.size()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    }
}

} // namespace tov::entry
