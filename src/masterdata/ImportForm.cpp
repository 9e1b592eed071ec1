#include "masterdata/ImportForm.h"

#include "masterdata/ImportRowsModel.h"
#include "shell/BackgroundWork.h"
#include "shell/Dialogs.h"
#include "shell/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
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
    setFixedSize(820, 560);

    Caption = new QLabel(this);
    Caption->setObjectName(QStringLiteral("Caption"));
    Caption->setGeometry(20, 12, 780, 22);
    Caption->setText(QStringLiteral("请核对表格各列对应的项目，确认每一行的结果后按“确定”导入。“确定”之前，账中不会有任何改动。"));

    const QList<TImportPlan::Field> &fields = plan_.Fields();
    const int width = 150;
    for (int f = 0; f < fields.size(); ++f) {
        auto *label = new QLabel(fields[f].title, this);
        label->setGeometry(20 + f * (width + 8), 42, width, 20);
        auto *box = new QComboBox(this);
        box->setObjectName(QStringLiteral("ColumnBox%1").arg(f));
        box->setGeometry(20 + f * (width + 8), 62, width, 26);
        box->addItem(QStringLiteral("（不导入）"), -1);
        for (int c = 0; c < sheet.titles.size(); ++c)
            box->addItem(ColumnName(c, sheet.titles[c]), c);
        box->setCurrentIndex(plan_.ColumnOf(f) + 1);
        connect(box, &QComboBox::currentIndexChanged, this, [this, f, box] {
            plan_.SetColumn(f, box->currentData().toInt());
            Examine();
        });
        ColumnBoxes << box;
    }
    UpdateBox = new QCheckBox(QStringLiteral("更新已有记录"), this);
    UpdateBox->setObjectName(QStringLiteral("UpdateBox"));
    UpdateBox->setGeometry(20, 96, 300, 24);
    UpdateBox->setToolTip(kind == TImportPlan::Products ? QStringLiteral("货品按编号（没有编号的按名称和规格）对应账中的货品")
                          : kind == TImportPlan::OtherReceivables ? QStringLiteral("其它应收款只会新增，账中相同的一笔会跳过")
                                                                  : QStringLiteral("按客户名称对应账中的记录"));
    UpdateBox->setEnabled(kind != TImportPlan::OtherReceivables);
    connect(UpdateBox, &QCheckBox::toggled, this, [this](bool on) {
        plan_.SetUpdateExisting(on);
        Examine();
    });

    model_ = new TImportRowsModel(&plan_, this);
    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(20, 126, 780, 358);
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
    Summary->setGeometry(20, 494, 560, 44);
    Summary->setWordWrap(true);

    OkButton = new QPushButton(QStringLiteral("确定"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(600, 500, 95, 34);
    CancelButton = new QPushButton(QStringLiteral("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(705, 500, 95, 34);
    CancelButton->setAutoDefault(false);
    connect(OkButton, &QPushButton::clicked, this, &TFormImport::OkClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
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
    Summary->setText(text);
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
