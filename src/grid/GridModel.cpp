#include "grid/GridModel.h"

#include "ui/Dialogs.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDate>
#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <optional>

TGridModel::TGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void TGridModel::SetColumns(const QList<Column> &columns)
{
    beginResetModel();
    columns_ = columns;
    columnField_ = QVector<int>(columns.size(), -1);
    fields_.clear();
    query_ = nullptr;
    order_.clear();
    footer_ = QVector<QString>(columns.size());
    sortColumn_ = -1;
    endResetModel();
    emit FooterChanged();
}

void TGridModel::Load(const TQuery &query)
{
    beginResetModel();
    order_.clear();
    sortColumn_ = -1;
    query_ = query.Active() ? &query : nullptr;
    fields_ = query_ ? query.FieldNames() : QStringList();
    if (query_) {
        pageFailureTold_ = false;
        query_->OnPageFailure([this](const EDatabaseError &e) {
            if (std::exchange(pageFailureTold_, true))
                return;
            // Said once, after the painting that met it: never from inside it.
            QTimer::singleShot(0, this, [e] { Dialogs::ShowMessage(ShareDataModule->Explained(QStringLiteral("数据读取失败"), e)); });
        });
    }
    columnField_.clear();
    for (const Column &c : std::as_const(columns_)) {
        int at = -1;
        for (int i = 0; i < fields_.size() && at < 0; ++i)
            if (fields_[i].compare(c.field, Qt::CaseInsensitive) == 0)
                at = i;
        columnField_ << at;
    }
    const int n = query_ ? query.RecordCount() : 0;
    order_.resize(n);
    for (int r = 0; r < n; ++r)
        order_[r] = r;
    endResetModel();
}

void TGridModel::Clear()
{
    beginResetModel();
    query_ = nullptr;
    order_.clear();
    sortColumn_ = -1;
    endResetModel();
}

QString TGridModel::CellText(const QVariant &value) { return ValueText(value); }

QVariant TGridModel::Stored(int storedRow, int column) const
{
    const int f = column >= 0 && column < columnField_.size() ? columnField_[column] : -1;
    return f >= 0 && query_ ? query_->ValueAt(storedRow, f) : QVariant();
}

QString TGridModel::Text(int row, int column) const
{
    if (row < 0 || row >= order_.size())
        return QString();
    return CellText(Stored(order_[row], column));
}

QVariant TGridModel::Typed(int row, int column) const
{
    if (row < 0 || row >= order_.size())
        return QVariant();
    const QVariant value = Stored(order_[row], column);
    if (value.isNull() || IsNumberValue(value))
        return value;
    if (IsIsoDateValue(value))
        return QDate::fromString(value.toString(), Qt::ISODate);
    return value.toString();
}

QVariant TGridModel::Value(int row, const QString &field) const
{
    if (row < 0 || row >= order_.size())
        return QVariant();
    for (int f = 0; f < fields_.size(); ++f)
        if (fields_[f].compare(field, Qt::CaseInsensitive) == 0)
            return query_ ? query_->ValueAt(order_[row], f) : QVariant();
    return QVariant();
}

void TGridModel::SetFooter(int column, const QString &text)
{
    if (column < 0 || column >= footer_.size() || footer_[column] == text)
        return;
    footer_[column] = text;
    emit FooterChanged();
}

void TGridModel::ClearFooter()
{
    footer_.fill(QString());
    emit FooterChanged();
}

QString TGridModel::FooterText(int column) const
{
    return column >= 0 && column < footer_.size() ? footer_[column] : QString();
}

int TGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(order_.size()); }

int TGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant TGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::DisplayRole)
        return Text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return QVariant();
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return columns_[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignCenter);
    return QVariant();
}

void TGridModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columns_.size())
        return;
    // A column sorts as numbers or dates only when every filled cell is one.
    bool numbers = true, dates = true;
    QVector<QVariant> values(order_.size());
    for (int r = 0; r < order_.size(); ++r)
        values[r] = Stored(r, column);
    for (const QVariant &v : std::as_const(values)) {
        if (v.isNull())
            continue;
        numbers = numbers && IsNumberValue(v);
        dates = dates && IsIsoDateValue(v);
    }
    std::function<bool(int, int)> less;
    QVector<double> numberKeys;
    QVector<QString> textKeys;
    std::vector<std::optional<QCollatorSortKey>> collated;
    QVector<bool> empty(order_.size());
    for (int r = 0; r < order_.size(); ++r)
        empty[r] = values[r].isNull();
    if (numbers) {
        numberKeys.resize(order_.size());
        for (int r = 0; r < order_.size(); ++r)
            numberKeys[r] = values[r].toDouble();
        less = [&](int a, int b) { return numberKeys[a] < numberKeys[b]; };
    } else if (dates) {
        textKeys.resize(order_.size());
        for (int r = 0; r < order_.size(); ++r)
            textKeys[r] = values[r].toString();
        less = [&](int a, int b) { return textKeys[a] < textKeys[b]; };
    } else {
        // Chinese names in the order a Chinese reader expects.
        QCollator collator{QLocale(QLocale::Chinese, QLocale::China)};
        collator.setNumericMode(true);
        collated.resize(order_.size());
        for (int r = 0; r < order_.size(); ++r)
            collated[r].emplace(collator.sortKey(values[r].toString()));
        less = [&](int a, int b) { return collated[a]->compare(*collated[b]) < 0; };
    }
    // Empty cells first going up, last going down; equal cells keep their order.
    auto ascending = [&](int a, int b) {
        if (empty[a] || empty[b])
            return empty[a] && !empty[b];
        return less(a, b);
    };

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QVector<int> storedOf;
    for (const QModelIndex &i : before)
        storedOf << order_[i.row()];
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? ascending(a, b) : ascending(b, a);
    });
    QVector<int> shownOf(order_.size());
    for (int i = 0; i < order_.size(); ++i)
        shownOf[order_[i]] = i;
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i)
        after << index(shownOf[storedOf[i]], before[i].column());
    changePersistentIndexList(before, after);
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

TListSheet TGridModel::Sheet(const QList<int> &columns) const
{
    TListSheet sheet;
    for (int c : columns)
        sheet.AddColumn(Columns().value(c).title, TListSheet::Auto);
    for (int r = 0; r < rowCount(); ++r) {
        QVariantList row;
        for (int c : columns)
            row << Typed(r, c);
        sheet.rows << row;
    }
    return sheet;
}
