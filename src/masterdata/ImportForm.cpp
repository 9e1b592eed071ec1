#include "masterdata/ImportForm.h"

#include "masterdata/ImportRowsModel.h"
#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "core/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>

namespace {
// How many of a sheet's first rows may be taken for the title row.
constexpr int TitleRowChoices = 20;

// A row as the title-row list shows it: its first texts.
QString RowText(const TSheetRow &row)
{
    QStringList texts;
    for (const TSheetCell &cell : row.cells) {
        texts << cell.text.simplified().left(20);
        if (texts.size() == 8)
            break;
    }
    return texts.join(QStringLiteral("  "));
}

// A sheet column as the matching lists it: its letter and its title.
QString ColumnName(int column, const QString &title)
{
    QString letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar('A' + (n - 1) % 26));
    return title.isEmpty() ? QStringLiteral("%1 列").arg(letters) : QStringLiteral("%1 列：%2").arg(letters, title.left(20));
}
} // namespace

TFormImport::TFormImport(TImportPlan::Kind kind, const TSheetFile &sheet, QWidget *parent)
    : TForm(parent), plan_(kind, sheet)
{
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("导入") + TImportPlan::KindName(kind));
    setFixedSize(820, 580);

    Caption = new QLabel(this);
    Caption->setObjectName(QStringLiteral("Caption"));
    Caption->setGeometry(20, 8, 780, 22);
    Caption->setText(QStringLiteral("请核对表格各列对应的项目，确认每一行的结果后按“确定”导入。“确定”之前，账中不会有任何改动。"));

    auto *sheetLabel = new QLabel(QStringLiteral("工作表"), this);
    sheetLabel->setGeometry(20, 38, 50, 26);
    SheetBox = new QComboBox(this);
    SheetBox->setObjectName(QStringLiteral("SheetBox"));
    SheetBox->setGeometry(70, 38, 240, 26);
    auto *titleLabel = new QLabel(QStringLiteral("标题行"), this);
    titleLabel->setGeometry(330, 38, 50, 26);
    TitleRowBox = new QComboBox(this);
    TitleRowBox->setObjectName(QStringLiteral("TitleRowBox"));
    TitleRowBox->setGeometry(380, 38, 420, 26);

    const QList<TImportPlan::Field> &fields = plan_.Fields();
    const int width = 150;
    for (int f = 0; f < fields.size(); ++f) {
        auto *label = new QLabel(fields[f].title, this);
        label->setGeometry(20 + f * (width + 8), 70, width, 20);
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("ColumnBox%1").arg(f));
        box->setGeometry(20 + f * (width + 8), 90, width, 26);
        connect(box, &QComboBox::currentIndexChanged, this, [this, f, box] {
            plan_.SetColumn(f, box->currentData().toInt());
            Examine();
        });
        ColumnBoxes << box;
    }
    UpdateBox = new QCheckBox(QStringLiteral("更新已有记录"), this);
    UpdateBox->setObjectName(QStringLiteral("UpdateBox"));
    UpdateBox->setGeometry(20, 124, 200, 24);
    UpdateBox->setToolTip(kind == TImportPlan::Products ? QStringLiteral("货品按编号（没有编号的按名称和规格）对应账中的货品")
                          : kind == TImportPlan::OtherReceivables ? QStringLiteral("其它应收款只会新增，账中相同的一笔会跳过")
                                                                  : QStringLiteral("按客户名称对应账中的记录"));
    UpdateBox->setEnabled(kind != TImportPlan::OtherReceivables);
    connect(UpdateBox, &QCheckBox::toggled, this, [this](bool on) {
        plan_.SetUpdateExisting(on);
        Examine();
    });

    RegionLabel = new QLabel(QStringLiteral("表中的地区"), this);
    RegionLabel->setGeometry(330, 124, 80, 24);
    RegionValueBox = new QComboBox(this);
    RegionValueBox->setObjectName(QStringLiteral("RegionValueBox"));
    RegionValueBox->setGeometry(410, 124, 160, 26);
    auto *takenAs = new QLabel(QStringLiteral("作为"), this);
    takenAs->setGeometry(580, 124, 40, 24);
    RegionTargetBox = new QComboBox(this);
    RegionTargetBox->setObjectName(QStringLiteral("RegionTargetBox"));
    RegionTargetBox->setGeometry(620, 124, 180, 26);
    RegionTargetBox->addItem(QStringLiteral("（不导入，算有误）"), QString());
    for (const QString &region : TImportPlan::Regions())
        RegionTargetBox->addItem(region, region);
    for (QWidget *w : std::initializer_list<QWidget *>{RegionLabel, RegionValueBox, takenAs, RegionTargetBox})
        w->setVisible(kind == TImportPlan::Customers);
    connect(RegionValueBox, &QComboBox::currentIndexChanged, this, &TFormImport::ShowRegionTarget);
    connect(RegionTargetBox, &QComboBox::currentIndexChanged, this, [this] {
        plan_.MapRegion(RegionValueBox->currentText(), RegionTargetBox->currentData().toString());
        Examine();
    });

    model_ = new TImportRowsModel(&plan_, this);
    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(20, 156, 780, 338);
    Grid->setModel(model_);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(22);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setColumnWidth(0, 50);
    Grid->setColumnWidth(1, 50);
    Grid->setColumnWidth(2, 260);
    for (int f = 0; f < fields.size(); ++f)
        Grid->setColumnWidth(3 + f, 110);

    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setGeometry(20, 500, 560, 70);
    Summary->setWordWrap(true);
    Summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OkButton = new QPushButton(QStringLiteral("确定"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(600, 520, 95, 34);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(705, 520, 95, 34);
    CancelButton->setAutoDefault(false);
    connect(OkButton, &QPushButton::clicked, this, &TFormImport::OkClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    connect(SheetBox, &QComboBox::currentIndexChanged, this, [this](int at) { ReadSheet(at); });
    connect(TitleRowBox, &QComboBox::currentIndexChanged, this, [this](int at) {
        plan_.SetTitleRow(at);
        ShowSheet();
        Examine();
    });
    ShowSheet();
}

void TFormImport::ShowSheet()
{
    const TSheetFile &sheet = plan_.Sheet();
    const QSignalBlocker quiet1(SheetBox), quiet2(TitleRowBox);
    SheetBox->clear();
    if (sheet.sheetNames.isEmpty()) {
        SheetBox->addItem(QStringLiteral("（CSV 文件只有一个表）"));
    } else {
        SheetBox->addItems(sheet.sheetNames);
        SheetBox->setCurrentIndex(sheet.sheet);
    }
    SheetBox->setEnabled(sheet.sheetNames.size() > 1);

    TitleRowBox->clear();
    for (int at = 0; at < sheet.rows.size() && at < TitleRowChoices; ++at)
        TitleRowBox->addItem(QStringLiteral("第 %1 行：%2").arg(sheet.rows[at].number).arg(RowText(sheet.rows[at])));
    TitleRowBox->setCurrentIndex(plan_.TitleRow());

    for (int f = 0; f < ColumnBoxes.size(); ++f) {
        QComboBox *box = ColumnBoxes[f];
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(QStringLiteral("（不导入）"), -1);
        for (const int column : sheet.columns)
            box->addItem(ColumnName(column, plan_.Title(column)), column);
        box->setCurrentIndex(std::max(0, box->findData(plan_.ColumnOf(f))));
    }
}

void TFormImport::ShowRegionTarget()
{
    const QString region = plan_.RegionFor(RegionValueBox->currentText());
    const QSignalBlocker quiet(RegionTargetBox);
    RegionTargetBox->setCurrentIndex(std::max(0, RegionTargetBox->findData(region)));
}

void TFormImport::ReadSheet(int which)
{
    TSheetFile sheet;
    QString error;
    bool read = false;
    const QString path = plan_.Sheet().path;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        read = sheet.Read(path, &error, which);
        return read;
    });
    if (!read) {
        Dialogs::ShowMessage(QStringLiteral("无法读入工作表“%1”：%2").arg(SheetBox->itemText(which), error));
        const QSignalBlocker quiet(SheetBox);
        SheetBox->setCurrentIndex(plan_.Sheet().sheet);
        return;
    }
    const bool update = plan_.UpdateExisting();
    plan_ = TImportPlan(plan_.WhatKind(), sheet);
    plan_.SetUpdateExisting(update);
    ShowSheet();
    Examine();
}

void TFormImport::Run(TImportPlan::Kind kind)
{
    const QString path = Dialogs::GetOpenFileName(QStringLiteral("导入") + TImportPlan::KindName(kind), Dialogs::StartFolder(),
                                                  QStringLiteral("表格文件 (*.xlsx *.csv);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    TSheetFile sheet;
    QString error;
    bool read = false;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        read = sheet.Read(path, &error);
        return read;
    });
    if (!read) {
        Dialogs::ShowMessage(QStringLiteral("无法导入“%1”：%2").arg(QFileInfo(path).fileName(), error));
        return;
    }
    TFormImport form(kind, sheet);
    Dialogs::ShowModal(&form);
}

void TFormImport::FormShow()
{
    Examine();
}

void TFormImport::Examine()
{
    bool examined = false;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        examined = plan_.Examine();
        return examined;
    });
    model_->Reset();
    QString text = QStringLiteral("共 %1 行：新增 %2，更新 %3，跳过 %4，有误 %5")
                       .arg(plan_.Rows().size())
                       .arg(plan_.Count(TImportPlan::Add))
                       .arg(plan_.Count(TImportPlan::Update))
                       .arg(plan_.Count(TImportPlan::Skip))
                       .arg(plan_.Count(TImportPlan::Error));
    QStringList missing;
    for (int f = 0; f < plan_.Fields().size(); ++f)
        if (plan_.ColumnOf(f) < 0)
            missing << QStringLiteral("“%1”").arg(plan_.Fields()[f].title);
    if (!missing.isEmpty())
        text += QStringLiteral("\n表中找不到 %1 列，可在上方选择对应的列").arg(missing.join(QStringLiteral("、")));
    QStringList unused;
    for (const int column : plan_.UnusedColumns())
        unused << ColumnName(column, plan_.Title(column));
    if (!unused.isEmpty())
        text += QStringLiteral("\n不导入的列：%1").arg(unused.size() > 8 ? unused.mid(0, 8).join(QStringLiteral("、")) + QStringLiteral(" 等 %1 列").arg(unused.size())
                                                                      : unused.join(QStringLiteral("、")));
    Summary->setText(text);

    const QString chosen = RegionValueBox->currentText();
    {
        const QSignalBlocker quiet(RegionValueBox);
        RegionValueBox->clear();
        RegionValueBox->addItems(plan_.OtherRegions());
        RegionValueBox->setCurrentIndex(std::max(0, RegionValueBox->findText(chosen)));
    }
    RegionValueBox->setEnabled(!plan_.OtherRegions().isEmpty());
    RegionTargetBox->setEnabled(!plan_.OtherRegions().isEmpty());
    ShowRegionTarget();
    OkButton->setEnabled(examined && plan_.Count(TImportPlan::Add) + plan_.Count(TImportPlan::Update) > 0);
}

void TFormImport::OkClick()
{
    const int adds = plan_.Count(TImportPlan::Add), updates = plan_.Count(TImportPlan::Update), errors = plan_.Count(TImportPlan::Error);
    if (adds + updates == 0) {
        Dialogs::ShowMessage(QStringLiteral("没有要导入的行"));
        return;
    }
    if (errors > 0
        && !Dialogs::AskYesNo(QStringLiteral("导入"), QStringLiteral("有 %1 行有误，这些行不会导入。\n导入其余的 %2 行吗？").arg(errors).arg(adds + updates)))
        return;
    bool applied = false;
    BackgroundWork::Run([&](const BackgroundWork::Progress &progress) {
        applied = plan_.Apply(progress);
        return applied;
    });
    if (!applied) {
        Dialogs::ShowMessage(QStringLiteral("导入没有完成，账中没有任何改动"));
        return;
    }
    Session->BooksChanged();
    Dialogs::ShowMessage(QStringLiteral("导入完成：新增 %1 行，更新 %2 行").arg(adds).arg(updates));
    accept();
}
