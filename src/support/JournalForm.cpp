#include "support/JournalForm.h"

#include "db/Journal.h"
#include "grid/FooterGrid.h"
#include "grid/GridPrinter.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "core/Clock.h"
#include "ui/Dialogs.h"
#include "core/NumberTexts.h"
#include "core/Session.h"
#include "stores/BillRestore.h"
#include "stores/JournalList.h"

#include <QComboBox>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QTableView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormJournal::TFormJournal(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormJournal"));
    setWindowTitle(QStringLiteral("修改记录"));
    setFixedSize(940, 580);

    auto label = [this](const QString &text, int x, int width) {
        auto *l = new QLabel(text, this);
        l->setGeometry(x, 16, width, 26);
        return l;
    };
    auto date = [this](const QString &name, int x) {
        auto *d = new QDateEdit(this);
        d->setObjectName(name);
        d->setGeometry(x, 16, 116, 26);
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        return d;
    };
    label(QStringLiteral("从"), 20, 20);
    FromDate = date(QStringLiteral("FromDate"), 40);
    label(QStringLiteral("到"), 164, 20);
    ToDate = date(QStringLiteral("ToDate"), 184);
    label(QStringLiteral("类别"), 316, 34);
    KindBox = new QComboBox(this);
    KindBox->setObjectName(QStringLiteral("KindBox"));
    KindBox->setGeometry(350, 16, 110, 26);
    KindBox->addItem(QStringLiteral("全部"), QString());
    for (const QString &kind : Journal::Kinds())
        KindBox->addItem(kind, kind);
    label(QStringLiteral("客户"), 474, 34);
    CustomerEdit = new QLineEdit(this);
    CustomerEdit->setObjectName(QStringLiteral("CustomerEdit"));
    CustomerEdit->setGeometry(508, 16, 120, 26);
    label(QStringLiteral("编号/名称"), 640, 70);
    KeyEdit = new QLineEdit(this);
    KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
    KeyEdit->setGeometry(710, 16, 110, 26);
    SearchButton = new QPushButton(QStringLiteral("查询"), this);
    SearchButton->setObjectName(QStringLiteral("SearchButton"));
    SearchButton->setGeometry(832, 14, 88, 30);
    SearchButton->setDefault(true);

    Grid = new TFooterGrid(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(20, 56, 900, 456);
    Grid->SetColumns({{QStringLiteral("JournalMinute"), QStringLiteral("时间"), 124},
                      {QStringLiteral("JournalRole"), QStringLiteral("角色"), 62},
                      {QStringLiteral("JournalComputer"), QStringLiteral("电脑"), 80},
                      {QStringLiteral("JournalWhat"), QStringLiteral("操作"), 90},
                      {QStringLiteral("JournalKey"), QStringLiteral("编号/名称"), 90},
                      {QStringLiteral("JournalCustomer"), QStringLiteral("客户"), 90},
                      {QStringLiteral("JournalText"), QStringLiteral("内容"), 428}});
    printer_ = new TGridPrinter(Grid, this);
    printer_->FitToPageWidth = true;

    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    CountLabel->setGeometry(20, 526, 300, 30);
    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 524, 96, 34);
        b->setAutoDefault(false);
        return b;
    };
    RestoreButton = button(QStringLiteral("RestoreButton"), QStringLiteral("恢复此单据"), 508);
    PrintButton = button(QStringLiteral("PrintButton"), QStringLiteral("打印"), 612);
    ExportButton = button(QStringLiteral("ExportButton"), QStringLiteral("导出"), 716);
    CloseButton = button(QStringLiteral("CloseButton"), QStringLiteral("关闭"), 824);
    RestoreButton->setToolTip(QStringLiteral("把选中的删除记录里的单据重新保存"));

    connect(SearchButton, &QPushButton::clicked, this, [this] { Dialogs::Attempt([this] { SearchClick(); }); });
    connect(RestoreButton, &QPushButton::clicked, this, [this] { Dialogs::Attempt([this] { RestoreClick(); }); });
    connect(PrintButton, &QPushButton::clicked, this, &TFormJournal::PrintClick);
    connect(ExportButton, &QPushButton::clicked, this, &TFormJournal::ExportClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Grid->Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFormJournal::CurrentChanged);
}

void TFormJournal::FormShow()
{
    const QDate today = Clock::Today();
    FromDate->setDate(today.addMonths(-1));
    ToDate->setDate(today);
    SearchClick();
}

void TFormJournal::SearchClick()
{
    if (!TJournalList::Read(list_, FromDate->date(), ToDate->date(), KindBox->currentData().toString(),
                            CustomerEdit->text().trimmed(), KeyEdit->text().trimmed()))
        return;
    Grid->Load(list_, false);
    CountLabel->setText(QStringLiteral("共 %1 条记录").arg(Grid->RowCount()));
    CurrentChanged();
}

void TFormJournal::CurrentChanged()
{
    const int row = Grid->CurrentRow();
    const QVariant action = row < 0 ? QVariant() : Grid->Model()->Value(row, QStringLiteral("JournalAction"));
    const QString kind = row < 0 ? QString() : Grid->Model()->Value(row, QStringLiteral("JournalKind")).toString();
    RestoreButton->setEnabled(action.toString() == QStringLiteral("删除") && kind.endsWith(QStringLiteral("单")));
}

void TFormJournal::RestoreClick()
{
    const int row = Grid->CurrentRow();
    const int index = row < 0 ? 0 : Grid->Model()->Value(row, QStringLiteral("JournalIndex")).toInt();
    if (index == 0 || !BillRestore::Restorable(index)) {
        Dialogs::ShowMessage(QStringLiteral("请先选中一条删除单据的记录"));
        return;
    }
    if (!Dialogs::AskYesNo(QStringLiteral("恢复单据"), QStringLiteral("把这张删除的单据重新保存吗？")))
        return;
    QString message;
    if (BillRestore::Restore(index, &message) == 0)
        return;
    Session->BooksChanged();
    Dialogs::ShowMessage(message);
    SearchClick();
}

void TFormJournal::PrintClick()
{
    printer_->ClearTitles();
    printer_->PageHeader << QStringLiteral("修改记录")
                         << QStringLiteral("%1 至 %2").arg(DateText(FromDate->date()), DateText(ToDate->date()));
    printer_->DocumentName = QStringLiteral("修改记录") + DateText(Clock::Today());
    printer_->Preview();
}

void TFormJournal::ExportClick()
{
    TListSheet sheet = Grid->Model()->Sheet(Grid->VisibleColumns());
    for (TListSheet::Column &c : sheet.columns)
        c.kind = TListSheet::Text;
    ExportList(QStringLiteral("修改记录"), sheet);
}
