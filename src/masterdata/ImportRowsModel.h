#pragma once
// The rows of an import as the preview grid shows them: the sheet's row
// number, what will happen to the row and why, then the fields as read.

#include <QAbstractTableModel>

class TImportPlan;

class TImportRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TImportRowsModel(const TImportPlan *plan, QObject *parent = nullptr);
    // After the plan examined its rows again.
    void Reset();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const TImportPlan *plan_;
};
