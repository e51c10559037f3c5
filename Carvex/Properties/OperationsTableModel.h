#pragma once

#include "Carvex/ModelAdapters/OperationRowViewModel.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QString>

#include <vector>

namespace Carvex {

// The rows of the properties pane's operations table: the method (drawn as a badge by the row
// delegate), the path in the monospaced font and the summary in the secondary label colour, both
// 11 pt and struck through for a deprecated operation. Texts come as one line of at most
// `maximumDisplayLength` units, so a huge or multi-line path or summary costs no more to draw than
// a short one and never spills into a second line. New rows replace the old ones in one reset.
// Main thread only.
class OperationsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { methodColumn, pathColumn, summaryColumn, columnCount_ };
    static constexpr qsizetype maximumDisplayLength = 2048;
    // The header role under which each column gives its identifier.
    static constexpr int identifierRole = Qt::UserRole;

    // "MethodColumn", "PathColumn", "SummaryColumn".
    static QString columnIdentifier(int column);
    static QFont pathFont();
    static QFont summaryFont();
    // `text` on one line: line breaks, tabs and other control characters become blanks, and text
    // past `maximumDisplayLength` units is dropped (never half a surrogate pair).
    static QString displayLine(const QString& text);

    explicit OperationsTableModel(QObject* parent = nullptr);

    const std::vector<OperationRowViewModel>& operations() const { return operations_; }
    void setOperations(std::vector<OperationRowViewModel> operations);
    // The row of the operation `id`, or -1.
    int rowOf(const OperationID& id) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<OperationRowViewModel> operations_;
};

}  // namespace Carvex
