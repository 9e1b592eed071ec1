#include "reportengine/ReportLayout.h"

#include "reportengine/ReportPainter.h"
#include "reportengine/TemplateFile.h"
#include "core/NumberTexts.h"

namespace {
const QString PageToken = QStringLiteral("[Page]");
const QString PagesToken = QStringLiteral("[Pages]");
const QString DateToken = QStringLiteral("[Date]");
constexpr double Epsilon = 0.01;
} // namespace

TReportLayout::TReportLayout(const TReportTemplate &tpl, const QHash<QString, TReportDataSet> &data, const QDate &today)
    : tpl_(tpl), data_(data), today_(today) {}

const TReportDataSet *TReportLayout::DataSet(const QString &name) const
{
    for (auto it = data_.constBegin(); it != data_.constEnd(); ++it)
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return &it.value();
    return nullptr;
}

QString TReportLayout::ItemText(const TReportBand &band, const TReportItem &item, int row) const
{
    if (item.kind == TReportItem::Text) {
        QString text = item.text;
        text.replace(PageToken, QString::number(pages_.size()), Qt::CaseInsensitive);
        text.replace(DateToken, DateText(today_), Qt::CaseInsensitive);
        return text;
    }
    const bool ownRow = band.type == TReportBand::MasterData && row >= 0
                        && (item.dataSet.isEmpty() || item.dataSet.compare(band.dataSet, Qt::CaseInsensitive) == 0);
    const TReportDataSet *data = DataSet(ownRow ? band.dataSet : item.dataSet);
    if (!data)
        return QString();
    // No box shows more; a longer value would only cost time on every page.
    return (ownRow ? data->Value(row, item.field) : data->CurrentValue(item.field)).left(TTemplateFile::MaxItemText);
}

double TReportLayout::BandHeight(const TReportBand &band, int row) const
{
    double height = band.height;
    // The page footer keeps its height: it is placed from the foot of the page.
    if (!band.stretch || band.type == TReportBand::PageFooter)
        return height;
    for (const TReportItem &item : band.items)
        if (item.IsTextual() && item.wrap)
            height = qMax(height, item.rect.y() + TReportPainter::TextHeight(item, ItemText(band, item, row)));
    return height;
}

void TReportLayout::Place(const TReportBand &band, int row, double height)
{
    TPreparedPage &page = pages_.last();
    const double grow = height - band.height;
    for (const TReportItem &item : band.items) {
        TReportItem placed = item;
        placed.rect.translate(tpl_.marginLeft, y_);
        // Cells reaching the band's foot grow with it, so table rules stay closed.
        if (grow > 0 && item.kind != TReportItem::Line && item.rect.bottom() >= band.height - Epsilon)
            placed.rect.setHeight(placed.rect.height() + grow);
        if (item.IsTextual()) {
            placed.text = ItemText(band, item, row);
            if (item.kind == TReportItem::Text && item.text.contains(PagesToken, Qt::CaseInsensitive))
                slots_.append({int(pages_.size()) - 1, int(page.items.size()), placed.text});
            placed.kind = TReportItem::Text;
            placed.dataSet.clear();
            placed.field.clear();
        }
        page.items.append(placed);
    }
    y_ += height;
}

void TReportLayout::StartPage()
{
    TPreparedPage page;
    page.paper = tpl_.paper;
    pages_.append(page);
    y_ = tpl_.marginTop;
    if (pages_.size() == 1)
        if (const TReportBand *title = tpl_.Band(TReportBand::ReportTitle))
            Place(*title, -1, BandHeight(*title, -1));
    for (auto type : {TReportBand::PageHeader, TReportBand::ColumnHeader})
        if (const TReportBand *band = tpl_.Band(type))
            Place(*band, -1, BandHeight(*band, -1));
    bodyTop_ = y_;
}

void TReportLayout::EndPage()
{
    if (const TReportBand *footer = tpl_.Band(TReportBand::PageFooter)) {
        y_ = tpl_.paper.height() - tpl_.marginBottom - footer->height;
        Place(*footer, -1, footer->height);
    }
}

QList<TPreparedPage> TReportLayout::Prepare()
{
    pages_.clear();
    slots_.clear();
    const TReportBand *footer = tpl_.Band(TReportBand::PageFooter);
    const double limit = tpl_.paper.height() - tpl_.marginBottom - (footer ? footer->height : 0);
    // A band that fits on no page still goes on a page of its own, so the layout always ends.
    auto makeRoom = [&](double height) {
        if (y_ + height > limit + Epsilon && y_ > bodyTop_ + Epsilon) {
            EndPage();
            StartPage();
        }
    };

    StartPage();
    if (const TReportBand *master = tpl_.Band(TReportBand::MasterData)) {
        const TReportDataSet *rows = DataSet(master->dataSet);
        const int count = rows ? rows->RowCount() : 0;
        for (int row = 0; row < count; ++row) {
            const double height = BandHeight(*master, row);
            makeRoom(height);
            Place(*master, row, height);
        }
    }
    if (const TReportBand *summary = tpl_.Band(TReportBand::Summary)) {
        const double height = BandHeight(*summary, -1);
        makeRoom(height);
        Place(*summary, -1, height);
    }
    EndPage();

    const QString total = QString::number(pages_.size());
    for (const PageNumberSlot &slot : slots_)
        pages_[slot.page].items[slot.item].text = QString(slot.text).replace(PagesToken, total, Qt::CaseInsensitive);
    return pages_;
}
