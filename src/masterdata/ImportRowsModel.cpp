#include "masterdata/ImportRowsModel.h"

#include "stores/ImportPlan.h"

#include <QBrush>
#include <QColor>

namespace {
constexpr int Fixed = 3;   // 行号, 结果, 说明
}

TImportRowsModel::TImportRowsModel(const TImportPlan *plan, QObject *parent) : QAbstractTableModel(parent), plan_(plan) {}

void TImportRowsModel::Reset()
{
    beginResetModel();
    endResetModel();
}

int TImportRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(plan_->Rows().size());
}

int TImportRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Fixed + int(plan_->Fields().size());
}

QVariant TImportRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= plan_->Rows().size())
        return QVariant();
    const TImportPlan::Row &row = plan_->Rows().at(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case 0: return row.sheetRow;
        case 1: return TImportPlan::OutcomeName(row.outcome);
        case 2: return row.note;
        default: return row.values.value(index.column() - Fixed);
        }
    }
    if (role == Qt::ForegroundRole && index.column() <= 2) {
        switch (row.outcome) {
        case TImportPlan::Add: return QBrush(QColor(0x1a, 0x7f, 0x37));
        case TImportPlan::Update: return QBrush(QColor(0x1f, 0x4e, 0xb4));
        case TImportPlan::Skip: return QBrush(QColor(0x70, 0x70, 0x70));
        case TImportPlan::Error: return QBrush(QColor(0xc0, 0x1c, 0x28));
        }
    }
    return QVariant();
}

QVariant TImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QString fixed[Fixed] = {QStringLiteral("行号"), QStringLiteral("结果"), QStringLiteral("说明")};
    if (section < Fixed)
        return fixed[section];
    return plan_->Fields().value(section - Fixed).title;
}
