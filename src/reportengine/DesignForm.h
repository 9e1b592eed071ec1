#pragma once
// The template designer on a report object: the page with its bands and
// items, a panel for the selected item's text, data field, font, alignment,
// borders and place (or the band's, or the page's), preview, and opening and
// saving template files.

#include "reportengine/ReportTemplate.h"
#include "ui/Form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QToolBar;
class TDesignCanvas;
class TReport;

class TFormDesign : public TForm {
    Q_OBJECT
public:
    TFormDesign(TReport *report, QWidget *parent = nullptr);

    void FormShow() override;
    void ActionNewExecute();
    void ActionOpenExecute();
    bool ActionSaveExecute();
    bool ActionSaveAsExecute();
    void AddItem(int kind);             // a TReportItem::Kind into the selected band
    void AddBand(int type);             // a TReportBand::Type
    void ActionDeleteExecute();
    void ActionPreviewExecute();
    void ActionCloseExecute();
    void reject() override;

    const TReportTemplate &Template() const { return tpl_; }
    QString FileName() const { return fileName_; }
    bool Modified() const { return modified_; }

    QToolBar *ToolBar;
    QAction *ActionNew, *ActionOpen, *ActionSave, *ActionSaveAs, *ActionAddText, *ActionAddField, *ActionAddLine,
        *ActionAddFrame, *ActionAddBand, *ActionDelete, *ActionPreview, *ActionClose;
    QScrollArea *Scroll;
    TDesignCanvas *Canvas;

    // The panel: the page, the selected band, the selected item.
    QGroupBox *ReportBox, *BandBox, *ItemBox;
    QLineEdit *NameEdit;
    QComboBox *PaperBox, *OrientationBox;
    QDoubleSpinBox *MarginSpin[4];
    QLabel *BandKind;
    QDoubleSpinBox *BandHeightSpin;
    QComboBox *BandDataSetBox;
    QCheckBox *StretchBox;
    QLabel *ItemKind;
    QPlainTextEdit *TextEdit;
    QComboBox *DataSetBox, *FieldBox, *FontBox, *AlignBox, *VAlignBox;
    QDoubleSpinBox *SizeSpin, *PenSpin, *XSpin, *YSpin, *WSpin, *HSpin;
    QCheckBox *BoldBox, *WrapBox, *BorderBox[4];

private:
    void LoadPanel();        // from the selection
    void ApplyPanel();       // to the selection
    void SetModified(bool modified);
    bool AskSaveChanges();   // false when saving was wanted and failed
    void FillDataSetNames(QComboBox *box, const QString &current);
    void FillFieldNames(const QString &dataSet, const QString &current);
    void UpdateTitle();

    TReport *report_;
    TReportTemplate tpl_;
    QString fileName_;
    bool modified_ = false;
    bool loading_ = false;
};
