#pragma once
// The grid printout's preview: pages as they will print, zoom, page direction,
// printing and saving as a PDF file.

#include "ui/Form.h"

#include <QPrinter>

class QPrintPreviewWidget;
class QToolButton;
class TGridPrinter;

class TFormGridPreview : public TForm {
    Q_OBJECT
public:
    TFormGridPreview(TGridPrinter *gridPrinter, QWidget *parent = nullptr);

    void FormShow() override;
    void ActionPrintExecute();
    void ActionPdfExecute();

    QPrintPreviewWidget *Preview;
    QToolButton *PrintButton, *PdfButton, *ZoomIn, *ZoomOut, *Portrait, *Landscape, *CloseButton;
    QPrinter Printer{QPrinter::HighResolution};

private:
    TGridPrinter *gridPrinter_;
};
