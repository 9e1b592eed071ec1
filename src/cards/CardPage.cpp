#include "cards/CardPage.h"

#include "ui/Artwork.h"
#include "core/ProgramFiles.h"
#include "db/Queries.h"
#include "core/Session.h"
#include "db/ShareDM.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {
QFont CardFont()
{
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(12);
    return f;
}

void SetTextColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    if (pal.color(QPalette::WindowText) == colour)
        return;
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

QPixmap LoadIcon(const QString &file)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.constFind(file);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm(file);
    if (pm.isNull()) // a missing file must not hide the figures: draw it instead
        pm = QPixmap::fromImage(Artwork::CardIcon(QFileInfo(file).completeBaseName()));
    cache.insert(file, pm);
    return pm;
}
} // namespace

QColor TCardPage::HighlightColour() { return QColor(166, 202, 240); }
QColor TCardPage::ButtonFaceColour() { return QColor(0xec, 0xe9, 0xd8); }

TCardPage::TCardPage(const QString &sheetName, Look look, int *pageNumber, QWidget *parent)
    : QWidget(parent), look_(std::move(look)), page_(pageNumber)
{
    setObjectName(sheetName);
    setMouseTracking(true);
    installEventFilter(this);
    const QFont font = CardFont();
    const QString &p = look_.prefix;

    for (int i = 0; i < CardCount; ++i) {
        const QString n = QString::number(i + 1);
        Tag[i] = 0;
        auto *panel = new QFrame(this);
        panel->setObjectName(p + QStringLiteral("Panel") + n);
        panel->setGeometry(8 + (i % 3) * 216, 8 + (i / 3) * 86, 209, 79);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Raised);
        panel->setAutoFillBackground(true);
        panel->setCursor(Qt::PointingHandCursor);
        Panel[i] = panel;
        SetPanelColour(i, ButtonFaceColour());
        WatchCardPart(panel, i);

        Image[i] = new QLabel(panel);
        Image[i]->setObjectName(p + QStringLiteral("Image") + n);
        Image[i]->setGeometry(8, 8, 41, 41);
        Image[i]->setAlignment(Qt::AlignCenter);
        WatchCardPart(Image[i], i);

        for (int r = 0; r < 3; ++r) {
            Caption[r][i] = nullptr;
            Value[r][i] = nullptr;
            if (r >= look_.captions.size())
                continue;
            auto *cap = new QLabel(look_.captions[r], panel);
            cap->setObjectName(p + QStringLiteral("Caption%1_").arg(r + 1) + n);
            cap->setGeometry(52, 8 + r * 21, 39, 20);
            cap->setAlignment(Qt::AlignCenter);
            cap->setFont(font);
            SetTextColour(cap, Qt::black);
            Caption[r][i] = cap;
            WatchCardPart(cap, i);
            auto *val = new QLabel(panel);
            val->setObjectName(p + look_.valueNames[r] + n);
            val->setGeometry(92, 8 + r * 21, 114, 20);
            val->setFont(font);
            SetTextColour(val, Qt::blue);
            Value[r][i] = val;
            WatchCardPart(val, i);
        }
        Under[i] = nullptr;
        if (!look_.underName.isEmpty()) {
            Under[i] = new QLabel(panel);
            Under[i]->setObjectName(p + look_.underName + n);
            Under[i]->setGeometry(4, 50, 48, 20);
            Under[i]->setAlignment(Qt::AlignCenter);
            Under[i]->setFont(font);
            SetTextColour(Under[i], Qt::blue);
            WatchCardPart(Under[i], i);
        }
        panel->hide();
    }

    TotalLabel = new QLabel(look_.designTotal, this);
    TotalLabel->setObjectName(look_.totalName);
    TotalLabel->setGeometry(8, 444, 145, 33);
    TotalLabel->setAlignment(Qt::AlignCenter);

    auto button = [this](const QString &name, const QString &caption, int x) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(x, 444, 121, 33);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    PriorButton = button(p + QStringLiteral("Prior"), QStringLiteral("上一页"), 168);
    NewButton = button(look_.newName, look_.newCaption, 312);
    NextButton = button(p + QStringLiteral("Next"), QStringLiteral("下一页"), 456);
    connect(PriorButton, &QPushButton::clicked, this, &TCardPage::PriorClick);
    connect(NextButton, &QPushButton::clicked, this, &TCardPage::NextClick);
    connect(NewButton, &QPushButton::clicked, this, [this] { NewClick(); });

    HintImage = new QLabel(this);
    HintImage->setObjectName(p + QStringLiteral("Hint"));
    HintImage->setGeometry(128, 292, 350, 150);
    HintImage->setAttribute(Qt::WA_TranslucentBackground);
    HintImage->setPixmap(Artwork::HintPicture(look_.hintText, Artwork::PageColour(look_.colourWord)));
    HintImage->hide();
}

void TCardPage::WatchCardPart(QWidget *part, int card)
{
    part->setProperty("card", card);
    part->setCursor(Qt::PointingHandCursor);
    part->installEventFilter(this);
}

bool TCardPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this) {
        if (event->type() == QEvent::MouseMove)
            ClearHighlight();
        return QWidget::eventFilter(watched, event);
    }
    const QVariant card = watched->property("card");
    if (card.isValid()) {
        switch (event->type()) {
        case QEvent::Enter:
        case QEvent::MouseMove:
            HighlightCard(card.toInt());
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                OpenCard(card.toInt());
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCardPage::SetPanelColour(int card, const QColor &colour)
{
    QPalette pal = Panel[card]->palette();
    if (pal.color(QPalette::Window) == colour)
        return;
    pal.setColor(QPalette::Window, colour);
    Panel[card]->setPalette(pal);
}

void TCardPage::HighlightCard(int k)
{
    for (int j = 0; j < CardCount; ++j)
        SetPanelColour(j, j == k ? HighlightColour() : ButtonFaceColour());
}

void TCardPage::ClearHighlight()
{
    for (int j = 0; j < CardCount; ++j)
        SetPanelColour(j, ButtonFaceColour());
}

void TCardPage::Grade(int card, double value, const QList<QLabel *> &graded)
{
    QString name;
    if (value < 0)
        name = QStringLiteral("Money-");
    else if (value == 0)
        name = QStringLiteral("Money0");
    else
        name = look_.colourWord + QStringLiteral("+") + (value > look_.threshold1 ? QStringLiteral("+") : QString())
               + (value > look_.threshold2 ? QStringLiteral("+") : QString());
    const QColor colour = value < 0 ? QColor(Qt::red) : QColor(Qt::blue);
    for (QLabel *label : graded)
        SetTextColour(label, colour);
    IconFile[card] = QStringLiteral("Res/") + name + QStringLiteral(".ico");
    Image[card]->setPixmap(LoadIcon(ProgramDir + IconFile[card]));
}

bool TCardPage::Fill()
{
    PriorButton->setEnabled(false);
    NextButton->setEnabled(false);
    // The list and its figures as of one moment.
    const TReadSnapshot oneMoment;
    TQuery q(QStringLiteral("CardList"));
    if (!RunQuery(q, ListSql(), ListFailure()))
        return false;
    qint64 total = 0;
    if (q.IsEmpty()) {
        HintImage->show();
        for (QFrame *panel : Panel)
            panel->hide();
        TotalLabel->setText(TotalText(0));
        return true;
    }
    if (!LoadFigures())
        return false;
    HintImage->hide();
    q.First();
    const int n = q.RecordCount();
    const int p = *page_;
    NextButton->setEnabled((p + 1) * CardCount < n);
    PriorButton->setEnabled(p > 0);

    for (int skipped = 0; skipped < p * CardCount && !q.Eof(); ++skipped, q.Next())
        if (!Contribution(q, total))
            return false;
    for (int i = 0; i < CardCount; ++i) {
        if (q.Eof()) {
            Panel[i]->hide();
            continue;
        }
        Panel[i]->show();
        Tag[i] = RowKey(q);
        if (!FillCard(i, q, total))
            return false;
        q.Next();
    }
    for (; !q.Eof(); q.Next())
        if (!Contribution(q, total))
            return false;
    TotalLabel->setText(TotalText(total));
    return true;
}

void TCardPage::PriorClick()
{
    if (*page_ > 0)
        --*page_;
    Fill();
}

void TCardPage::NextClick()
{
    ++*page_;
    Fill();
}
