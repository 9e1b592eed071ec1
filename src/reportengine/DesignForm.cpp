#include "reportengine/DesignForm.h"

#include "reportengine/DesignCanvas.h"
#include "reportengine/Report.h"
#include "reportengine/TemplateFile.h"
#include "ui/Dialogs.h"
#include "core/FileFailure.h"
#include "core/ProgramFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStyle>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSet>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const char *kindCaptions[] = {"文字", "字段", "线条", "方框"};
const Qt::Alignment hAligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
const Qt::Alignment vAligns[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
const int borderFlags[] = {TReportItem::LeftBorder, TReportItem::TopBorder, TReportItem::RightBorder,
                           TReportItem::BottomBorder};

QDoubleSpinBox *Spin(QWidget *parent, const QString &name, double max, double step = 0.5, const QString &suffix = QStringLiteral(" mm"))
{
    auto *s = new QDoubleSpinBox(parent);
    s->setObjectName(name);
    s->setRange(0, max);
    s->setDecimals(1);
    s->setSingleStep(step);
    s->setSuffix(suffix);
    s->setKeyboardTracking(false);
    return s;
}

QComboBox *Combo(QWidget *parent, const QString &name, bool editable, const QStringList &items = {})
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->addItems(items);
    return c;
}

QStringList FontChoices()
{
    QStringList fonts{QStringLiteral("宋体"), QStringLiteral("楷体_GB2312"), QStringLiteral("黑体"), QStringLiteral("仿宋_GB2312")};
    for (const QString &f : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        if (!fonts.contains(f))
            fonts << f;
    return fonts;
}

int IndexOf(const Qt::Alignment (&list)[3], Qt::Alignment a)
{
    for (int i = 0; i < 3; ++i)
        if (a & list[i])
            return i;
    return 1;
}
} // namespace

TFormDesign::TFormDesign(TReport *report, QWidget *parent)
    : TForm(parent), report_(report), tpl_(report->Template()), fileName_(report->FileName())
{
    setObjectName(QStringLiteral("FormDesign"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    // Fits a 1366 x 768 screen with its task bar; the panel scrolls when taller.
    resize(1180, 680);

    auto action = [this](const QString &name, const QString &text, const QKeySequence &key = QKeySequence()) {
        auto *a = new QAction(text, this);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        return a;
    };
    ActionNew = action(QStringLiteral("ActionNew"), QStringLiteral("新建"), QKeySequence::New);
    ActionOpen = action(QStringLiteral("ActionOpen"), QStringLiteral("打开"), QKeySequence::Open);
    ActionSave = action(QStringLiteral("ActionSave"), QStringLiteral("保存"), QKeySequence::Save);
    ActionSaveAs = action(QStringLiteral("ActionSaveAs"), QStringLiteral("另存为"));
    ActionAddText = action(QStringLiteral("ActionAddText"), QStringLiteral("添加文字"));
    ActionAddField = action(QStringLiteral("ActionAddField"), QStringLiteral("添加字段"));
    ActionAddLine = action(QStringLiteral("ActionAddLine"), QStringLiteral("添加线条"));
    ActionAddFrame = action(QStringLiteral("ActionAddFrame"), QStringLiteral("添加方框"));
    ActionAddBand = action(QStringLiteral("ActionAddBand"), QStringLiteral("添加区域"));
    ActionDelete = action(QStringLiteral("ActionDelete"), QStringLiteral("删除"));
    ActionPreview = action(QStringLiteral("ActionPreview"), QStringLiteral("预览"));
    ActionClose = action(QStringLiteral("ActionClose"), QStringLiteral("关闭"));

    auto *bands = new QMenu(this);
    for (int t = TReportBand::ReportTitle; t <= TReportBand::PageFooter; ++t)
        bands->addAction(TReportBand::Caption(TReportBand::Type(t)), this, [this, t] { AddBand(t); });
    ActionAddBand->setMenu(bands);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar->addActions({ActionNew, ActionOpen, ActionSave, ActionSaveAs});
    ToolBar->addSeparator();
    ToolBar->addActions({ActionAddText, ActionAddField, ActionAddLine, ActionAddFrame, ActionAddBand, ActionDelete});
    ToolBar->addSeparator();
    ToolBar->addActions({ActionPreview, ActionClose});
    if (auto *b = qobject_cast<QToolButton *>(ToolBar->widgetForAction(ActionAddBand)))
        b->setPopupMode(QToolButton::InstantPopup);

    Canvas = new TDesignCanvas(&tpl_);
    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setWidget(Canvas);
    Scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Scroll->setBackgroundRole(QPalette::Dark);

    // The page.
    ReportBox = new QGroupBox(QStringLiteral("页面"), this);
    ReportBox->setObjectName(QStringLiteral("ReportBox"));
    auto *rf = new QFormLayout(ReportBox);
    NameEdit = new QLineEdit(ReportBox);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    PaperBox = Combo(ReportBox, QStringLiteral("PaperBox"), false, TReportTemplate::PaperNames());
    OrientationBox = Combo(ReportBox, QStringLiteral("OrientationBox"), false, {QStringLiteral("纵向"), QStringLiteral("横向")});
    rf->addRow(QStringLiteral("名称"), NameEdit);
    rf->addRow(QStringLiteral("纸张"), PaperBox);
    rf->addRow(QStringLiteral("方向"), OrientationBox);
    const char *marginCaptions[] = {"左边距", "上边距", "右边距", "下边距"};
    for (int i = 0; i < 4; ++i) {
        MarginSpin[i] = Spin(ReportBox, QStringLiteral("MarginSpin%1").arg(i + 1), 100);
        rf->addRow(QString::fromUtf8(marginCaptions[i]), MarginSpin[i]);
    }

    // The selected band.
    BandBox = new QGroupBox(QStringLiteral("区域"), this);
    BandBox->setObjectName(QStringLiteral("BandBox"));
    auto *bf = new QFormLayout(BandBox);
    BandKind = new QLabel(BandBox);
    BandKind->setObjectName(QStringLiteral("BandKind"));
    BandHeightSpin = Spin(BandBox, QStringLiteral("BandHeightSpin"), 280);
    BandDataSetBox = Combo(BandBox, QStringLiteral("BandDataSetBox"), true);
    StretchBox = new QCheckBox(QStringLiteral("随文字自动伸展"), BandBox);
    StretchBox->setObjectName(QStringLiteral("StretchBox"));
    bf->addRow(QStringLiteral("类型"), BandKind);
    bf->addRow(QStringLiteral("高度"), BandHeightSpin);
    bf->addRow(QStringLiteral("数据集"), BandDataSetBox);
    bf->addRow(QString(), StretchBox);

    // The selected item.
    ItemBox = new QGroupBox(QStringLiteral("项目"), this);
    ItemBox->setObjectName(QStringLiteral("ItemBox"));
    auto *itf = new QFormLayout(ItemBox);
    ItemKind = new QLabel(ItemBox);
    ItemKind->setObjectName(QStringLiteral("ItemKind"));
    TextEdit = new QPlainTextEdit(ItemBox);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    TextEdit->setFixedHeight(58);
    TextEdit->setToolTip(QStringLiteral("[Page] 页码，[Pages] 总页数，[Date] 今天"));
    DataSetBox = Combo(ItemBox, QStringLiteral("DataSetBox"), true);
    FieldBox = Combo(ItemBox, QStringLiteral("FieldBox"), true);
    FontBox = Combo(ItemBox, QStringLiteral("FontBox"), true, FontChoices());
    SizeSpin = Spin(ItemBox, QStringLiteral("SizeSpin"), 96, 1, QStringLiteral(" 磅"));
    SizeSpin->setMinimum(4);
    BoldBox = new QCheckBox(QStringLiteral("粗体"), ItemBox);
    BoldBox->setObjectName(QStringLiteral("BoldBox"));
    AlignBox = Combo(ItemBox, QStringLiteral("AlignBox"), false, {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
    VAlignBox = Combo(ItemBox, QStringLiteral("VAlignBox"), false, {QStringLiteral("顶端"), QStringLiteral("中间"), QStringLiteral("底端")});
    WrapBox = new QCheckBox(QStringLiteral("自动换行"), ItemBox);
    WrapBox->setObjectName(QStringLiteral("WrapBox"));
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(SizeSpin);
    fontRow->addWidget(BoldBox);
    auto *alignRow = new QHBoxLayout;
    alignRow->addWidget(AlignBox);
    alignRow->addWidget(VAlignBox);
    auto *borderRow = new QHBoxLayout;
    const char *borderCaptions[] = {"左", "上", "右", "下"};
    for (int i = 0; i < 4; ++i) {
        BorderBox[i] = new QCheckBox(QString::fromUtf8(borderCaptions[i]), ItemBox);
        BorderBox[i]->setObjectName(QStringLiteral("BorderBox%1").arg(i + 1));
        borderRow->addWidget(BorderBox[i]);
    }
    PenSpin = Spin(ItemBox, QStringLiteral("PenSpin"), 5, 0.1);
    XSpin = Spin(ItemBox, QStringLiteral("XSpin"), 1000);
    YSpin = Spin(ItemBox, QStringLiteral("YSpin"), 1000);
    WSpin = Spin(ItemBox, QStringLiteral("WSpin"), 1000);
    HSpin = Spin(ItemBox, QStringLiteral("HSpin"), 1000);
    auto *placeRow = new QHBoxLayout;
    placeRow->addWidget(XSpin);
    placeRow->addWidget(YSpin);
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(WSpin);
    sizeRow->addWidget(HSpin);
    itf->addRow(QStringLiteral("类型"), ItemKind);
    itf->addRow(QStringLiteral("文字"), TextEdit);
    itf->addRow(QStringLiteral("数据集"), DataSetBox);
    itf->addRow(QStringLiteral("字段"), FieldBox);
    itf->addRow(QStringLiteral("字体"), FontBox);
    itf->addRow(QStringLiteral("字号"), fontRow);
    itf->addRow(QStringLiteral("对齐"), alignRow);
    itf->addRow(QString(), WrapBox);
    itf->addRow(QStringLiteral("边框"), borderRow);
    itf->addRow(QStringLiteral("线宽"), PenSpin);
    itf->addRow(QStringLiteral("位置"), placeRow);
    itf->addRow(QStringLiteral("大小"), sizeRow);

    auto *panel = new QVBoxLayout;
    panel->addWidget(ReportBox);
    panel->addWidget(BandBox);
    panel->addWidget(ItemBox);
    panel->addStretch(1);
    auto *panelWidget = new QWidget;
    panelWidget->setLayout(panel);
    panelWidget->setFixedWidth(330);
    auto *panelScroll = new QScrollArea(this);
    panelScroll->setObjectName(QStringLiteral("PanelScroll"));
    panelScroll->setWidget(panelWidget);
    panelScroll->setWidgetResizable(true);
    panelScroll->setFrameShape(QFrame::NoFrame);
    panelScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    panelScroll->setFixedWidth(330 + panelScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);

    auto *body = new QHBoxLayout;
    body->addWidget(Scroll, 1);
    body->addWidget(panelScroll);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(ToolBar);
    box->addLayout(body, 1);

    connect(ActionNew, &QAction::triggered, this, &TFormDesign::ActionNewExecute);
    connect(ActionOpen, &QAction::triggered, this, &TFormDesign::ActionOpenExecute);
    connect(ActionSave, &QAction::triggered, this, &TFormDesign::ActionSaveExecute);
    connect(ActionSaveAs, &QAction::triggered, this, &TFormDesign::ActionSaveAsExecute);
    connect(ActionAddText, &QAction::triggered, this, [this] { AddItem(TReportItem::Text); });
    connect(ActionAddField, &QAction::triggered, this, [this] { AddItem(TReportItem::Field); });
    connect(ActionAddLine, &QAction::triggered, this, [this] { AddItem(TReportItem::Line); });
    connect(ActionAddFrame, &QAction::triggered, this, [this] { AddItem(TReportItem::Frame); });
    connect(ActionDelete, &QAction::triggered, this, &TFormDesign::ActionDeleteExecute);
    connect(ActionPreview, &QAction::triggered, this, &TFormDesign::ActionPreviewExecute);
    connect(ActionClose, &QAction::triggered, this, &TFormDesign::ActionCloseExecute);
    connect(Canvas, &TDesignCanvas::SelectionChanged, this, &TFormDesign::LoadPanel);
    connect(Canvas, &TDesignCanvas::Changed, this, [this] { SetModified(true); });

    auto apply = [this] { ApplyPanel(); };
    connect(NameEdit, &QLineEdit::textEdited, this, apply);
    connect(TextEdit, &QPlainTextEdit::textChanged, this, apply);
    for (QComboBox *c : {PaperBox, OrientationBox, AlignBox, VAlignBox})
        connect(c, &QComboBox::activated, this, apply);
    for (QComboBox *c : {BandDataSetBox, DataSetBox, FieldBox, FontBox})
        connect(c, &QComboBox::currentTextChanged, this, apply);
    for (QDoubleSpinBox *s : {BandHeightSpin, SizeSpin, PenSpin, XSpin, YSpin, WSpin, HSpin, MarginSpin[0], MarginSpin[1],
                              MarginSpin[2], MarginSpin[3]})
        connect(s, &QDoubleSpinBox::valueChanged, this, apply);
    for (QCheckBox *c : {StretchBox, BoldBox, WrapBox, BorderBox[0], BorderBox[1], BorderBox[2], BorderBox[3]})
        connect(c, &QCheckBox::toggled, this, apply);
}

void TFormDesign::FormShow()
{
    tpl_ = report_->Template();
    fileName_ = report_->FileName();
    SetModified(false);
    Canvas->Relayout();
    Canvas->Select(-1, -1);
}

void TFormDesign::UpdateTitle()
{
    const QString name = fileName_.isEmpty() ? QStringLiteral("未命名") : QDir::toNativeSeparators(fileName_);
    setWindowTitle(QStringLiteral("报表设计 - ") + name + (modified_ ? QStringLiteral(" *") : QString()));
}

void TFormDesign::SetModified(bool modified)
{
    modified_ = modified;
    UpdateTitle();
}

void TFormDesign::FillDataSetNames(QComboBox *box, const QString &current)
{
    QStringList names = report_->DataSets().keys();
    for (const TReportBand &band : tpl_.bands) {
        names << band.dataSet;
        for (const TReportItem &item : band.items)
            names << item.dataSet;
    }
    names.removeAll(QString());
    names.removeDuplicates();
    names.sort();
    box->clear();
    box->addItems(names);
    box->setCurrentText(current);
}

void TFormDesign::FillFieldNames(const QString &dataSet, const QString &current)
{
    QStringList names;
    for (auto it = report_->DataSets().constBegin(); it != report_->DataSets().constEnd(); ++it)
        if (it.key().compare(dataSet, Qt::CaseInsensitive) == 0)
            names << it.value().Columns();
    for (const TReportBand &band : tpl_.bands)
        for (const TReportItem &item : band.items)
            if (item.kind == TReportItem::Field && item.dataSet.compare(dataSet, Qt::CaseInsensitive) == 0)
                names << item.field;
    names.removeAll(QString());
    names.removeDuplicates();
    FieldBox->clear();
    FieldBox->addItems(names);
    FieldBox->setCurrentText(current);
}

void TFormDesign::LoadPanel()
{
    loading_ = true;
    NameEdit->setText(tpl_.name);
    const QString paper = tpl_.PaperName();
    if (PaperBox->findText(paper) < 0)
        PaperBox->addItem(paper);
    PaperBox->setCurrentText(paper);
    OrientationBox->setCurrentIndex(tpl_.Landscape() ? 1 : 0);
    const double margins[4] = {tpl_.marginLeft, tpl_.marginTop, tpl_.marginRight, tpl_.marginBottom};
    for (int i = 0; i < 4; ++i)
        MarginSpin[i]->setValue(margins[i]);

    const TReportBand *band = Canvas->CurrentBand();
    BandBox->setEnabled(band != nullptr);
    BandKind->setText(band ? TReportBand::Caption(band->type) : QString());
    BandHeightSpin->setValue(band ? band->height : 0);
    FillDataSetNames(BandDataSetBox, band ? band->dataSet : QString());
    const bool master = band && band->type == TReportBand::MasterData;
    BandDataSetBox->setEnabled(master);
    StretchBox->setEnabled(band && band->type != TReportBand::PageFooter);
    StretchBox->setChecked(band && band->stretch);

    const TReportItem *item = Canvas->CurrentItem();
    ItemBox->setEnabled(item != nullptr);
    const TReportItem shown = item ? *item : TReportItem();
    ItemKind->setText(item ? QString::fromUtf8(kindCaptions[item->kind]) : QString());
    TextEdit->setPlainText(item && item->kind == TReportItem::Text ? item->text : QString());
    TextEdit->setEnabled(item && item->kind == TReportItem::Text);
    FillDataSetNames(DataSetBox, shown.dataSet);
    FillFieldNames(shown.dataSet, shown.field);
    const bool field = item && item->kind == TReportItem::Field;
    DataSetBox->setEnabled(field);
    FieldBox->setEnabled(field);
    const bool textual = item && item->IsTextual();
    for (QWidget *w : {static_cast<QWidget *>(FontBox), static_cast<QWidget *>(SizeSpin), static_cast<QWidget *>(BoldBox),
                       static_cast<QWidget *>(AlignBox), static_cast<QWidget *>(VAlignBox), static_cast<QWidget *>(WrapBox)})
        w->setEnabled(textual);
    FontBox->setCurrentText(shown.fontFamily);
    SizeSpin->setValue(shown.fontSize);
    BoldBox->setChecked(shown.bold);
    AlignBox->setCurrentIndex(IndexOf(hAligns, shown.align));
    VAlignBox->setCurrentIndex(IndexOf(vAligns, shown.align));
    WrapBox->setChecked(shown.wrap);
    for (int i = 0; i < 4; ++i) {
        BorderBox[i]->setEnabled(textual);
        BorderBox[i]->setChecked(shown.borders & borderFlags[i]);
    }
    PenSpin->setValue(shown.penWidth);
    XSpin->setValue(shown.rect.x());
    YSpin->setValue(shown.rect.y());
    WSpin->setValue(shown.rect.width());
    HSpin->setValue(shown.rect.height());
    loading_ = false;
}

void TFormDesign::ApplyPanel()
{
    if (loading_)
        return;
    tpl_.name = NameEdit->text();
    const double margins[4] = {MarginSpin[0]->value(), MarginSpin[1]->value(), MarginSpin[2]->value(), MarginSpin[3]->value()};
    TReportTemplate page = tpl_;
    page.SetPaper(PaperBox->currentText(), OrientationBox->currentIndex() == 1);
    // Margins that leave no room on the paper are not taken.
    if (margins[0] + margins[2] < page.paper.width() - 10 && margins[1] + margins[3] < page.paper.height() - 10) {
        tpl_.paper = page.paper;
        tpl_.marginLeft = margins[0];
        tpl_.marginTop = margins[1];
        tpl_.marginRight = margins[2];
        tpl_.marginBottom = margins[3];
    }
    if (TReportBand *band = Canvas->CurrentBand()) {
        band->height = BandHeightSpin->value();
        if (band->type == TReportBand::MasterData) {
            band->dataSet = BandDataSetBox->currentText().trimmed();
            band->stretch = StretchBox->isChecked();
        }
    }
    if (TReportItem *item = Canvas->CurrentItem()) {
        if (item->kind == TReportItem::Text)
            item->text = TextEdit->toPlainText().left(TTemplateFile::MaxItemText);   // as much as a template may hold
        if (item->kind == TReportItem::Field) {
            const QString dataSet = DataSetBox->currentText().trimmed();
            if (dataSet != item->dataSet) {
                item->dataSet = dataSet;
                loading_ = true;
                FillFieldNames(dataSet, FieldBox->currentText());
                loading_ = false;
            }
            item->field = FieldBox->currentText().trimmed();
        }
        if (item->IsTextual()) {
            if (!FontBox->currentText().trimmed().isEmpty())
                item->fontFamily = FontBox->currentText().trimmed();
            item->fontSize = SizeSpin->value();
            item->bold = BoldBox->isChecked();
            item->align = hAligns[qMax(0, AlignBox->currentIndex())] | vAligns[qMax(0, VAlignBox->currentIndex())];
            item->wrap = WrapBox->isChecked();
            item->borders = 0;
            for (int i = 0; i < 4; ++i)
                if (BorderBox[i]->isChecked())
                    item->borders |= borderFlags[i];
        }
        item->penWidth = PenSpin->value();
        item->rect = QRectF(XSpin->value(), YSpin->value(), WSpin->value(), HSpin->value());
    }
    Canvas->Relayout();
    SetModified(true);
}

void TFormDesign::AddItem(int kind)
{
    int band = Canvas->SelectedBand();
    if (band < 0) {
        for (int b = 0; b < tpl_.bands.size() && band < 0; ++b)
            if (tpl_.bands[b].type == TReportBand::MasterData)
                band = b;
        if (band < 0 && !tpl_.bands.isEmpty())
            band = 0;
    }
    if (band < 0) {
        Dialogs::ShowMessage(QStringLiteral("请先添加一个区域"));
        return;
    }
    TReportItem item;
    item.kind = TReportItem::Kind(kind);
    const double height = qMin(6.0, qMax(1.0, tpl_.bands[band].height - 1));
    switch (item.kind) {
    case TReportItem::Text:
        item.text = QStringLiteral("文字");
        item.rect = QRectF(2, 0.5, 30, height);
        break;
    case TReportItem::Field:
        item.dataSet = tpl_.bands[band].dataSet;
        item.rect = QRectF(2, 0.5, 30, height);
        break;
    case TReportItem::Line:
        item.rect = QRectF(2, 1, 40, 0);
        item.penWidth = 0.3;
        break;
    case TReportItem::Frame:
        item.rect = QRectF(2, 0.5, 40, height);
        item.penWidth = 0.3;
        break;
    }
    tpl_.bands[band].items.append(item);
    Canvas->Relayout();
    Canvas->Select(band, int(tpl_.bands[band].items.size()) - 1);
    SetModified(true);
}

void TFormDesign::AddBand(int type)
{
    TReportBand band;
    band.type = TReportBand::Type(type);
    band.height = type == TReportBand::ReportTitle ? 20 : 8;
    if (band.type == TReportBand::MasterData && report_->DataSets().size() == 1)
        band.dataSet = report_->DataSets().constBegin().key();
    tpl_.bands.append(band);
    Canvas->Relayout();
    Canvas->Select(int(tpl_.bands.size()) - 1, -1);
    SetModified(true);
}

void TFormDesign::ActionDeleteExecute() { Canvas->DeleteSelection(); }

void TFormDesign::ActionNewExecute()
{
    if (!AskSaveChanges())
        return;
    tpl_ = TReportTemplate::Blank();
    fileName_.clear();
    Canvas->Relayout();
    Canvas->Select(-1, -1);
    SetModified(false);
}

void TFormDesign::ActionOpenExecute()
{
    if (!AskSaveChanges())
        return;
    const QString file = Dialogs::GetOpenFileName(QStringLiteral("打开报表模板"), ProgramDir + QStringLiteral("Frf"),
                                                  QStringLiteral("报表模板 (*.frf)"));
    if (file.isEmpty())
        return;
    TReportTemplate loaded;
    QString error;
    if (TTemplateFile::Load(file, &loaded, &error) != TTemplateFile::Loaded) {
        Dialogs::ShowMessage(QStringLiteral("报表模板“%1”无法打开：%2").arg(QDir::toNativeSeparators(file), error));
        return;
    }
    tpl_ = loaded;
    fileName_ = file;
    Canvas->Relayout();
    Canvas->Select(-1, -1);
    SetModified(false);
}

bool TFormDesign::ActionSaveExecute()
{
    if (fileName_.isEmpty())
        return ActionSaveAsExecute();
    if (const int error = TTemplateFile::Save(fileName_, tpl_)) {
        Dialogs::ShowMessage(TFileFailure::Text(QStringLiteral("报表模板“%1”保存失败").arg(QDir::toNativeSeparators(fileName_)), error));
        return false;
    }
    report_->SetTemplate(tpl_, fileName_);
    SetModified(false);
    return true;
}

bool TFormDesign::ActionSaveAsExecute()
{
    const QString suggested = fileName_.isEmpty() ? ProgramDir + QStringLiteral("Frf/") : fileName_;
    QString file = Dialogs::GetSaveFileName(QStringLiteral("保存报表模板"), suggested, QStringLiteral("报表模板 (*.frf)"));
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".frf");
    fileName_ = file;
    return ActionSaveExecute();
}

void TFormDesign::ActionPreviewExecute()
{
    TReport preview;
    preview.SetTemplate(tpl_, fileName_);
    for (auto it = report_->DataSets().constBegin(); it != report_->DataSets().constEnd(); ++it)
        preview.SetDataSet(it.key(), it.value());
    if (preview.PrepareReport())
        preview.ShowPreparedReport();
}

bool TFormDesign::AskSaveChanges()
{
    if (!modified_ || !Dialogs::AskYesNo(QStringLiteral("报表设计"), QStringLiteral("报表模板已修改，要保存吗？")))
        return true;
    return ActionSaveExecute();
}

void TFormDesign::ActionCloseExecute()
{
    if (!AskSaveChanges())
        return;
    // The report object keeps what was designed, saved or not, for the rest of the run.
    report_->SetTemplate(tpl_, fileName_);
    done(QDialog::Accepted);
}

void TFormDesign::reject() { ActionCloseExecute(); }
