#include "Carvex/Properties/OperationsTableModel.h"

#include "platform/SystemColor.h"

#include <QApplication>
#include <QFontDatabase>

namespace Carvex {

QString OperationsTableModel::columnIdentifier(int column) {
    switch (column) {
        case methodColumn: return QStringLiteral("MethodColumn");
        case pathColumn: return QStringLiteral("PathColumn");
        case summaryColumn: return QStringLiteral("SummaryColumn");
        default: return QString();
    }
}

QFont OperationsTableModel::pathFont() {
    static const QFont font = [] {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setPointSizeF(11);
        fixed.setWeight(QFont::Normal);
        return fixed;
    }();
    return font;
}

QFont OperationsTableModel::summaryFont() {
    static const QFont font = [] {
        QFont system = QApplication::font();
        system.setPointSizeF(11);
        return system;
    }();
    return font;
}

QString OperationsTableModel::displayLine(const QString& text) {
    qsizetype length = std::min(text.size(), maximumDisplayLength);
    if (length < text.size() && length > 0 && text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    QString line = text.left(length);
    for (QChar& unit : line) {
        const char16_t code = unit.unicode();
        if (code < 0x20 || code == 0x7F || code == 0x85 || code == 0x2028 || code == 0x2029) {
            unit = QLatin1Char(' ');
        }
    }
    return line;
}

OperationsTableModel::OperationsTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void OperationsTableModel::setOperations(std::vector<OperationRowViewModel> operations) {
    beginResetModel();
    operations_ = std::move(operations);
    endResetModel();
}

int OperationsTableModel::rowOf(const OperationID& id) const {
    for (std::size_t row = 0; row < operations_.size(); ++row) {
        if (operations_[row].id == id) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int OperationsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(operations_.size());
}

int OperationsTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columnCount_; }

QVariant OperationsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= operations_.size()) {
        return {};
    }
    const OperationRowViewModel& row = operations_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            if (column == pathColumn) {
                return displayLine(row.path());
            }
            if (column == summaryColumn) {
                return displayLine(row.displaySummary());
            }
            return {};
        case Qt::AccessibleTextRole:
            if (column == methodColumn) {
                const std::string_view raw = rawValue(row.method());
                return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
            }
            return data(index, Qt::DisplayRole);
        case Qt::FontRole: {
            if (column != pathColumn && column != summaryColumn) {
                return {};
            }
            QFont font = column == pathColumn ? pathFont() : summaryFont();
            font.setStrikeOut(row.deprecated);
            return font;
        }
        case Qt::ForegroundRole:
            if (column == pathColumn) {
                return CarvexPlatform::systemColor(CarvexPlatform::SystemColor::label);
            }
            if (column == summaryColumn) {
                return CarvexPlatform::systemColor(CarvexPlatform::SystemColor::secondaryLabel);
            }
            return {};
        default: return {};
    }
}

QVariant OperationsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return {};
    }
    if (role == identifierRole) {
        return columnIdentifier(section);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
        case methodColumn: return tr("Method");
        case pathColumn: return tr("Path");
        case summaryColumn: return tr("Summary");
        default: return {};
    }
}

Qt::ItemFlags OperationsTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace Carvex
