#pragma once

#include <QAbstractTableModel>
#include <QString>

#include "compare/difference_list.h"

namespace zantor {

// The difference list as the grid shows it: five columns, the two heading
// rows as a two-line header, and one empty row when the list has none. The
// model reads the rows in place, so a list of any length costs nothing here.
class DifferenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DifferenceModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The list shown; null shows one empty row (while a run fills the list).
    void setList(compare::DifferenceList* list);
    void setFileHeadings(const QString& first, const QString& second);
    QString fileHeading(int headingRow) const { return headingRow == 0 ? heading1_ : heading2_; }
    // Rows of the list itself, for Cut.
    void removeListRows(int first, int count);
    bool hasRows() const { return list_ && !list_->Rows().empty(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    compare::DifferenceList* list_ = nullptr;
    QString heading1_;
    QString heading2_ = QString::fromLatin1(compare::DifferenceList::HeadingCell(1, 4));
};

}  // namespace zantor
