#pragma once
// The print preview: the prepared pages one at a time with zoom, page
// buttons, search, printing through the system print dialog, and saving as PDF;
// "导出" when the report carries its lines as a list.

#include "ui/Form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class TPreviewPage;
class TReport;

class TFormPreview : public TForm {
    Q_OBJECT
public:
    TFormPreview(TReport *report, QWidget *parent = nullptr);

    void FormShow() override;
    void ShowPage(int page);                 // 0-based
    int CurrentPage() const { return page_; }
    double Zoom() const;                     // resolution over the screen's
    void ZoomBoxChange();
    bool FindNext();                         // true when found; says so when not
    void PrintButtonClick();
    void PdfButtonClick();

    QToolButton *FirstButton, *PriorButton, *NextButton, *LastButton;
    QLabel *PageLabel;
    QComboBox *ZoomBox;
    QLineEdit *FindEdit;
    QToolButton *FindButton, *PrintButton, *PdfButton, *ExportButton, *CloseButton;
    QScrollArea *Scroll;
    TPreviewPage *Page;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Redraw();

    TReport *report_;
    int page_ = 0;
    int foundPage_ = -1, foundItem_ = -1;
};
