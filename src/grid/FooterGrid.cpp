#include "grid/FooterGrid.h"

#include "grid/GridFooter.h"
#include "db/ShareDM.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

TFooterGrid::TFooterGrid(QWidget *parent) : QWidget(parent), model_(new TGridModel(this))
{
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(model_);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setAlternatingRowColors(true);
    Table->setWordWrap(false);
    Table->verticalHeader()->setVisible(false);
    Table->verticalHeader()->setDefaultSectionSize(22);
    Table->horizontalHeader()->setSectionsClickable(true);
    Table->horizontalHeader()->setHighlightSections(false);
    Table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The footer sits between the rows and the scroll bar, so the bar is a separate one.
    Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Table->viewport()->installEventFilter(this);

    Footer = new TGridFooter(Table, model_, this);
    ScrollBar = new QScrollBar(Qt::Horizontal, this);
    ScrollBar->setObjectName(QStringLiteral("ScrollBar"));
    ScrollBar->hide();
    QScrollBar *inner = Table->horizontalScrollBar();
    connect(inner, &QScrollBar::rangeChanged, this, [this, inner](int min, int max) {
        ScrollBar->setRange(min, max);
        ScrollBar->setPageStep(inner->pageStep());
        ScrollBar->setSingleStep(inner->singleStep());
        ScrollBar->setVisible(max > min);
    });
    connect(inner, &QScrollBar::valueChanged, ScrollBar, &QScrollBar::setValue);
    connect(ScrollBar, &QScrollBar::valueChanged, inner, &QScrollBar::setValue);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(Table, 1);
    box->addWidget(Footer);
    box->addWidget(ScrollBar);

    connect(Table->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFooterGrid::SortByColumn);
}

void TFooterGrid::SetColumns(const QList<TGridModel::Column> &columns)
{
    model_->SetColumns(columns);
    for (int i = 0; i < columns.size(); ++i)
        Table->setColumnWidth(i, columns[i].width);
    ApplySortIndicator();
}

void TFooterGrid::Load(const TQuery &query, bool keepSort)
{
    const int column = model_->SortColumn();
    const Qt::SortOrder order = model_->SortOrder();
    model_->Load(query);
    if (keepSort && column >= 0)
        model_->sort(column, order);
    ApplySortIndicator();
    if (RowCount() > 0)
        SetCurrentRow(0);
}

void TFooterGrid::Clear()
{
    model_->Clear();
    ApplySortIndicator();
}

int TFooterGrid::RowCount() const { return model_->rowCount(); }

int TFooterGrid::CurrentRow() const
{
    const QModelIndex i = Table->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void TFooterGrid::SetCurrentRow(int row)
{
    if (row < 0 || row >= RowCount())
        return;
    const QModelIndex at = model_->index(row, qMax(0, Table->currentIndex().column()));
    Table->setCurrentIndex(at);
    Table->scrollTo(at);
}

QList<int> TFooterGrid::VisibleColumns() const
{
    const QHeaderView *header = Table->horizontalHeader();
    QList<int> shown;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            shown << logical;
    }
    return shown;
}

int TFooterGrid::ColumnWidth(int column) const { return Table->columnWidth(column); }

void TFooterGrid::SortByColumn(int column)
{
    const Qt::SortOrder order = model_->SortColumn() == column && model_->SortOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    model_->sort(column, order);
    ApplySortIndicator();
    if (CurrentRow() >= 0)
        Table->scrollTo(Table->currentIndex());
}

void TFooterGrid::SetFooterColour(const QColor &colour) { Footer->SetTextColour(colour); }

void TFooterGrid::ApplySortIndicator()
{
    QHeaderView *header = Table->horizontalHeader();
    const int column = model_->SortColumn();
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        header->setSortIndicator(column, model_->SortOrder());
}

bool TFooterGrid::eventFilter(QObject *watched, QEvent *event)
{
    // The press before it has already moved the current row.
    if (watched == Table->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        emit DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
