#include "compare/ui/difference_model.h"

#include <QColor>

namespace zantor {

void DifferenceModel::setList(compare::DifferenceList* list) {
    beginResetModel();
    list_ = list;
    endResetModel();
}

void DifferenceModel::setFileHeadings(const QString& first, const QString& second) {
    heading1_ = first;
    heading2_ = second;
    emit headerDataChanged(Qt::Horizontal, 4, 4);
}

void DifferenceModel::removeListRows(int first, int count) {
    if (!list_ || count <= 0) return;
    auto& rows = list_->Rows();
    beginResetModel();
    rows.erase(rows.begin() + first, rows.begin() + first + count);
    endResetModel();
}

int DifferenceModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return hasRows() ? int(list_->Rows().size()) : 1;
}

int DifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : compare::kDifferenceColumns;
}

QVariant DifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !hasRows()) return {};
    const compare::DifferenceRow& row = list_->Rows()[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(compare::DifferenceList::Cell(row, index.column()));
    case Qt::TextAlignmentRole:
        if (index.column() == 2 || index.column() == 3) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    // Rows without a File 1 line (deleted, and the old side of a change) in
    // the colours of an active title bar.
    case Qt::BackgroundRole:
        if (row.line1 == 0) return QColor(0, 0, 128);
        return {};
    case Qt::ForegroundRole:
        if (row.line1 == 0) return QColor(Qt::white);
        return {};
    default: return {};
    }
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 4) return heading1_ + "\n" + heading2_;
    return QString::fromLatin1(compare::DifferenceList::HeadingCell(0, section) + "\n" +
                               compare::DifferenceList::HeadingCell(1, section));
}

}  // namespace zantor
