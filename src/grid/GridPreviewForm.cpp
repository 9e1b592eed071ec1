#include "grid/GridPreviewForm.h"

#include "grid/GridPrinter.h"
#include "ui/Dialogs.h"

#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QToolButton>
#include <QVBoxLayout>

TFormGridPreview::TFormGridPreview(TGridPrinter *gridPrinter, QWidget *parent) : TForm(parent), gridPrinter_(gridPrinter)
{
    setObjectName(QStringLiteral("FormGridPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    resize(820, 640);

    Printer.setPageLayout(gridPrinter->PageLayout());
    Preview = new QPrintPreviewWidget(&Printer, this);
    Preview->setObjectName(QStringLiteral("Preview"));
    connect(Preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) { gridPrinter_->Paint(printer); });

    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(caption);
        b->setMinimumSize(64, 28);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    PrintButton = button(QStringLiteral("PrintButton"), QStringLiteral("打印"));
    PdfButton = button(QStringLiteral("PdfButton"), QStringLiteral("保存为PDF"));
    ZoomIn = button(QStringLiteral("ZoomIn"), QStringLiteral("放大"));
    ZoomOut = button(QStringLiteral("ZoomOut"), QStringLiteral("缩小"));
    Portrait = button(QStringLiteral("Portrait"), QStringLiteral("纵向"));
    Landscape = button(QStringLiteral("Landscape"), QStringLiteral("横向"));
    CloseButton = button(QStringLiteral("CloseButton"), QStringLiteral("关闭"));
    connect(PrintButton, &QToolButton::clicked, this, &TFormGridPreview::ActionPrintExecute);
    connect(PdfButton, &QToolButton::clicked, this, &TFormGridPreview::ActionPdfExecute);
    connect(ZoomIn, &QToolButton::clicked, Preview, [this] { Preview->zoomIn(); });
    connect(ZoomOut, &QToolButton::clicked, Preview, [this] { Preview->zoomOut(); });
    connect(Portrait, &QToolButton::clicked, Preview, &QPrintPreviewWidget::setPortraitOrientation);
    connect(Landscape, &QToolButton::clicked, Preview, &QPrintPreviewWidget::setLandscapeOrientation);
    connect(CloseButton, &QToolButton::clicked, this, &QDialog::reject);

    auto *bar = new QHBoxLayout;
    for (QToolButton *b : {PrintButton, PdfButton, ZoomIn, ZoomOut, Portrait, Landscape})
        bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(CloseButton);
    auto *box = new QVBoxLayout(this);
    box->addLayout(bar);
    box->addWidget(Preview, 1);
}

void TFormGridPreview::FormShow()
{
    Preview->fitToWidth();
    Preview->updatePreview();
}

void TFormGridPreview::ActionPrintExecute()
{
    if (!Dialogs::ChoosePrinter(&Printer))
        return;
    if (!gridPrinter_->Paint(&Printer))
        Dialogs::ShowMessage(QStringLiteral("打印失败"));
}

void TFormGridPreview::ActionPdfExecute()
{
    const QString file = Dialogs::GetSaveFileWithSuffix(QStringLiteral("保存为PDF"), (gridPrinter_->DocumentName.isEmpty() ? QStringLiteral("打印") : gridPrinter_->DocumentName) + QStringLiteral(".pdf"),
                                                        QStringLiteral("PDF 文件 (*.pdf)"), QStringLiteral("pdf"));
    if (file.isEmpty())
        return;
    // The page direction chosen in the preview goes into the file too.
    QString why;
    if (gridPrinter_->SavePdf(file, Printer.pageLayout(), &why))
        Dialogs::ShowMessage(QStringLiteral("PDF文件保存成功"));
    else
        Dialogs::ShowMessage(QStringLiteral("PDF文件保存失败：") + why);
}
