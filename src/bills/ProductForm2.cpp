#include "bills/ProductForm2.h"

#include "ui/Artwork.h"
#include "stores/ProductStore.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

TFormProduct2 *FormProduct2 = nullptr;

TFormProduct2::TFormProduct2(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormProduct2"));
    setWindowTitle(QStringLiteral("货品选择"));
    setFixedSize(560, 392);

    StorePrior = new QPushButton(QStringLiteral("上一页"), this);
    StorePrior->setObjectName(QStringLiteral("StorePrior"));
    StorePrior->setGeometry(12, 10, 96, 30);
    StoreNext = new QPushButton(QStringLiteral("下一页"), this);
    StoreNext->setObjectName(QStringLiteral("StoreNext"));
    StoreNext->setGeometry(452, 10, 96, 30);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(116, 10, 328, 30);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: blue; font-size: 15px; font-weight: bold;"));
    connect(StorePrior, &QPushButton::clicked, this, &TFormProduct2::StorePriorClick);
    connect(StoreNext, &QPushButton::clicked, this, &TFormProduct2::StoreNextClick);

    for (int i = 0; i < CellCount; ++i) {
        const QString n = QString::number(i + 1);
        auto *panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("StorePanel") + n);
        panel->setGeometry(12 + (i % 5) * 108, 52 + (i / 5) * 84, 100, 78);
        panel->setFrameShape(QFrame::StyledPanel);
        auto *name = new QLabel(panel);
        name->setObjectName(QStringLiteral("StoreName") + n);
        name->setGeometry(2, 4, 96, 22);
        name->setAlignment(Qt::AlignCenter);
        name->setStyleSheet(QStringLiteral("color: blue;"));
        name->setCursor(Qt::PointingHandCursor);
        name->setProperty("cell", i);
        name->installEventFilter(this);
        auto *image = new QLabel(panel);
        image->setObjectName(QStringLiteral("StoreImage") + n);
        image->setGeometry(30, 30, 40, 40);
        image->setAlignment(Qt::AlignCenter);
        image->setCursor(Qt::PointingHandCursor);
        image->setProperty("cell", i);
        image->installEventFilter(this);
        panel->hide();
        FCellPanels[i] = panel;
        FCellNames[i] = name;
        FCellImages[i] = image;
    }
}

bool TFormProduct2::eventFilter(QObject *watched, QEvent *event)
{
    // The picture or the name of a cell picks it.
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        const QVariant cell = watched->property("cell");
        if (cell.isValid()) {
            PickCell(cell.toInt());
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

void TFormProduct2::FormShow() { ShowPage(); }

void TFormProduct2::ShowPage()
{
    StorePrior->setEnabled(false);
    StoreNext->setEnabled(false);
    const bool names = FPickKind == 0;
    const QString failure = QStringLiteral("刷新仓库商品时出错");
    QStringList picks;
    if (!(names ? TProductStore::Distinct(QStringLiteral("ProductName"), picks, failure)
                : TProductStore::TypesOf(FPickName, picks, failure)))
        return;
    Label1->setText(names ? QStringLiteral("请选择一个货品") : QStringLiteral("请选择（") + FPickName + QStringLiteral("）的规格"));
    if (picks.isEmpty()) {
        for (QFrame *panel : FCellPanels)
            panel->hide();
        return;
    }
    const int n = int(picks.size());
    StoreNext->setEnabled((FPage + 1) * CellCount < n);
    StorePrior->setEnabled(FPage > 0);
    // A product picture, not a stock grade: a shoe, with a size tag when a model is picked.
    const QPixmap picture = Artwork::ProductPicture(!names);
    for (int i = 0; i < CellCount; ++i) {
        const int pick = FPage * CellCount + i;
        if (pick >= n) {
            FCellPanels[i]->hide();
            continue;
        }
        FCellPanels[i]->show();
        FCellNames[i]->setText(picks[pick]);
        FCellNames[i]->setToolTip(FCellNames[i]->text());
        FCellImages[i]->setPixmap(picture);
    }
}

void TFormProduct2::StorePriorClick()
{
    if (FPage > 0)
        --FPage;
    ShowPage();
}

void TFormProduct2::StoreNextClick()
{
    ++FPage;
    ShowPage();
}

void TFormProduct2::PickCell(int i)
{
    FPicked = FCellNames[i]->text();
    accept();
}
