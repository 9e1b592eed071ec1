#include "reportengine/PreviewForm.h"

#include "grid/ListExport.h"
#include "reportengine/PreviewPage.h"
#include "reportengine/Report.h"
#include "ui/Dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QStringList zoomTexts{QStringLiteral("50%"),  QStringLiteral("75%"),  QStringLiteral("100%"),
                            QStringLiteral("125%"), QStringLiteral("150%"), QStringLiteral("200%"),
                            QStringLiteral("页宽"), QStringLiteral("整页")};
constexpr int PageWidthZoom = 6;
constexpr int WholePageZoom = 7;

QToolButton *Tool(QWidget *parent, const QString &name, const QString &text, const QString &tip = QString())
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(tip.isEmpty() ? text : tip);
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(28);
    return b;
}
} // namespace

TFormPreview::TFormPreview(TReport *report, QWidget *parent) : TForm(parent), report_(report)
{
    setObjectName(QStringLiteral("FormPreview"));
    setWindowTitle(QStringLiteral("打印预览 - ") + report->DocumentName());
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(960, 720);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 4, 6, 4);
    bar->setSpacing(4);
    FirstButton = Tool(this, QStringLiteral("FirstButton"), QStringLiteral("首页"), QStringLiteral("第一页"));
    PriorButton = Tool(this, QStringLiteral("PriorButton"), QStringLiteral("上页"), QStringLiteral("上一页"));
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    PageLabel->setMinimumWidth(130);
    PageLabel->setAlignment(Qt::AlignCenter);
    NextButton = Tool(this, QStringLiteral("NextButton"), QStringLiteral("下页"), QStringLiteral("下一页"));
    LastButton = Tool(this, QStringLiteral("LastButton"), QStringLiteral("末页"), QStringLiteral("最后一页"));
    ZoomBox = new QComboBox(this);
    ZoomBox->setObjectName(QStringLiteral("ZoomBox"));
    ZoomBox->addItems(zoomTexts);
    ZoomBox->setCurrentIndex(PageWidthZoom);
    ZoomBox->setToolTip(QStringLiteral("缩放"));
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setPlaceholderText(QStringLiteral("查找内容"));
    FindEdit->setFixedWidth(150);
    FindButton = Tool(this, QStringLiteral("FindButton"), QStringLiteral("查找"));
    PrintButton = Tool(this, QStringLiteral("PrintButton"), QStringLiteral("打印"));
    PdfButton = Tool(this, QStringLiteral("PdfButton"), QStringLiteral("保存为PDF"));
    ExportButton = Tool(this, QStringLiteral("ExportButton"), QStringLiteral("导出"), QStringLiteral("导出为 Excel 或 CSV 表格"));
    ExportButton->setVisible(report->HasExportList());
    CloseButton = Tool(this, QStringLiteral("CloseButton"), QStringLiteral("关闭"));
    for (QWidget *w : {static_cast<QWidget *>(FirstButton), static_cast<QWidget *>(PriorButton),
                       static_cast<QWidget *>(PageLabel), static_cast<QWidget *>(NextButton),
                       static_cast<QWidget *>(LastButton), static_cast<QWidget *>(ZoomBox)})
        bar->addWidget(w);
    bar->addSpacing(12);
    bar->addWidget(FindEdit);
    bar->addWidget(FindButton);
    bar->addStretch(1);
    bar->addWidget(PrintButton);
    bar->addWidget(PdfButton);
    bar->addWidget(ExportButton);
    bar->addWidget(CloseButton);

    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Scroll->setBackgroundRole(QPalette::Dark);
    Page = new TPreviewPage;
    Scroll->setWidget(Page);
    Scroll->installEventFilter(this);

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addLayout(bar);
    box->addWidget(Scroll, 1);

    connect(FirstButton, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(PriorButton, &QToolButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(NextButton, &QToolButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(LastButton, &QToolButton::clicked, this, [this] { ShowPage(report_->PageCount() - 1); });
    connect(ZoomBox, &QComboBox::activated, this, &TFormPreview::ZoomBoxChange);
    connect(FindButton, &QToolButton::clicked, this, &TFormPreview::FindNext);
    connect(FindEdit, &QLineEdit::returnPressed, this, &TFormPreview::FindNext);
    connect(FindEdit, &QLineEdit::textChanged, this, [this] { foundPage_ = foundItem_ = -1; Redraw(); });
    connect(PrintButton, &QToolButton::clicked, this, &TFormPreview::PrintButtonClick);
    connect(PdfButton, &QToolButton::clicked, this, &TFormPreview::PdfButtonClick);
    connect(ExportButton, &QToolButton::clicked, this, [this] { ExportList(report_->ExportName(), report_->ExportSheet()); });
    connect(CloseButton, &QToolButton::clicked, this, &QDialog::accept);
}

void TFormPreview::FormShow()
{
    foundPage_ = foundItem_ = -1;
    ShowPage(0);
}

double TFormPreview::Zoom() const
{
    const int index = ZoomBox->currentIndex();
    if (index < PageWidthZoom)
        return zoomTexts[index].chopped(1).toDouble() / 100;
    if (report_->PageCount() == 0)
        return 1;
    const QSizeF paper = report_->Pages()[page_].paper;
    const double screenDpi = logicalDpiX();
    // The room without scroll bars, less the vertical bar a page taller than the
    // window needs: it does not change as the page does, and it is right from
    // the first showing on, before the viewport has its size.
    QSize room = Scroll->maximumViewportSize() - QSize(2 * TPreviewPage::Border + 4, 2 * TPreviewPage::Border + 4);
    if (index == PageWidthZoom)
        room.rwidth() -= Scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Scroll);
    const double byWidth = room.width() / (paper.width() / 25.4 * screenDpi);
    const double byHeight = room.height() / (paper.height() / 25.4 * screenDpi);
    return qMax(0.1, index == PageWidthZoom ? byWidth : qMin(byWidth, byHeight));
}

void TFormPreview::ZoomBoxChange() { Redraw(); }

void TFormPreview::ShowPage(int page)
{
    const int count = report_->PageCount();
    page_ = qBound(0, page, qMax(0, count - 1));
    Redraw();
    Scroll->verticalScrollBar()->setValue(0);
}

void TFormPreview::Redraw()
{
    const int count = report_->PageCount();
    PageLabel->setText(QStringLiteral("第 %1 页 共 %2 页").arg(count ? page_ + 1 : 0).arg(count));
    FirstButton->setEnabled(page_ > 0);
    PriorButton->setEnabled(page_ > 0);
    NextButton->setEnabled(page_ + 1 < count);
    LastButton->setEnabled(page_ + 1 < count);
    PrintButton->setEnabled(count > 0);
    PdfButton->setEnabled(count > 0);
    if (count == 0)
        return;
    QList<QRectF> marks;
    if (foundPage_ == page_ && foundItem_ >= 0)
        marks << report_->Pages()[page_].items[foundItem_].rect;
    Page->SetPage(report_->Pages()[page_], logicalDpiX() * Zoom(), marks);
}

bool TFormPreview::FindNext()
{
    const QString text = FindEdit->text();
    if (text.isEmpty())
        return false;
    const QList<TPreparedPage> &pages = report_->Pages();
    // Onwards from the last find (or the page shown), round to the start once.
    int startPage = foundPage_ >= 0 ? foundPage_ : page_;
    int startItem = foundPage_ >= 0 ? foundItem_ + 1 : 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int p = startPage; p < pages.size(); ++p) {
            const QList<TReportItem> &items = pages[p].items;
            for (int i = p == startPage ? startItem : 0; i < items.size(); ++i)
                if (items[i].IsTextual() && items[i].text.contains(text, Qt::CaseInsensitive)) {
                    foundPage_ = p;
                    foundItem_ = i;
                    page_ = p;
                    Redraw();
                    Scroll->ensureVisible(Page->ToWidget(items[i].rect).center().x(),
                                          Page->ToWidget(items[i].rect).center().y(), 40, 80);
                    return true;
                }
        }
        startPage = 0;
        startItem = 0;
    }
    foundPage_ = foundItem_ = -1;
    Redraw();
    Dialogs::ShowMessage(QStringLiteral("找不到“%1”").arg(text));
    return false;
}

void TFormPreview::PrintButtonClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report_->DocumentName());
    printer.setPageLayout(report_->Template().PageLayout());
    if (!Dialogs::ChoosePrinter(&printer))
        return;
    const bool range = printer.printRange() == QPrinter::PageRange;
    if (!report_->Print(&printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0))
        Dialogs::ShowMessage(QStringLiteral("打印失败，请检查打印机"));
}

void TFormPreview::PdfButtonClick()
{
    const QString file = Dialogs::GetSaveFileWithSuffix(QStringLiteral("保存为PDF"), report_->DocumentName() + QStringLiteral(".pdf"),
                                                        QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral("pdf"));
    if (file.isEmpty())
        return;
    QString why;
    if (!report_->ExportPdf(file, &why))
        Dialogs::ShowMessage(QStringLiteral("PDF文件“%1”写入失败：%2").arg(QDir::toNativeSeparators(file), why));
}

void TFormPreview::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Find)) {
        FindEdit->setFocus();
        FindEdit->selectAll();
    } else if (event->matches(QKeySequence::FindNext)) {
        FindNext();
    } else if (event->matches(QKeySequence::Print)) {
        PrintButtonClick();
    } else if (event->key() == Qt::Key_PageDown && !FindEdit->hasFocus()) {
        ShowPage(page_ + 1);
    } else if (event->key() == Qt::Key_PageUp && !FindEdit->hasFocus()) {
        ShowPage(page_ - 1);
    } else {
        TForm::keyPressEvent(event);
    }
}

bool TFormPreview::eventFilter(QObject *watched, QEvent *event)
{
    // The scroll area gets its size after the window does: fit the page then.
    if (watched == Scroll && event->type() == QEvent::Resize && ZoomBox->currentIndex() >= PageWidthZoom)
        Redraw();
    return TForm::eventFilter(watched, event);
}
