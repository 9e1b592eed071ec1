#pragma once
// The card page framework: fifteen cards a page, paging, a total over the whole
// list, graded icons and the mouse-over highlight. Each page supplies its list
// query, how a card is filled and what a row adds to the total.

#include "core/SqlText.h"

#include <QList>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class TQuery;

class TReport;

class TCardPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int CardCount = 15;

    struct Look {
        QString prefix;        // "Customer", "Bill", "Money", "Store", "Account"
        QString colourWord;    // "Blue", ...
        double threshold1;
        double threshold2;
        QString newCaption;    // the new-record button
        QString newName;       // its component name
        QString hintText;
        QString totalName;     // the total label's component name
        QString designTotal;   // the total label before the first fill
        QStringList captions;  // up to three caption texts
        QStringList valueNames;// the value labels' name stems, one per caption
        QString underName;     // the label under the icon, empty when the page has none
    };

    TCardPage(const QString &sheetName, Look look, int *pageNumber, QWidget *parent = nullptr);

    // Fills the page at its current page number; false when a query failed.
    bool Fill();
    void PriorClick();
    void NextClick();
    void HighlightCard(int k);
    void ClearHighlight();
    int PageNumber() const { return *page_; }

    QFrame *Panel[CardCount];
    QLabel *Image[CardCount];
    QLabel *Caption[3][CardCount];
    QLabel *Value[3][CardCount];
    QLabel *Under[CardCount];
    int Tag[CardCount];          // the record key of each shown card
    QString IconFile[CardCount]; // the icon file each card was graded with
    QLabel *TotalLabel;
    // The report the page's printouts go through, handed over by the window that holds the page.
    TReport *frReport1 = nullptr;
    QPushButton *PriorButton;
    QPushButton *NewButton;
    QPushButton *NextButton;
    QLabel *HintImage;

    static QColor HighlightColour();
    static QColor ButtonFaceColour();

protected:
    virtual SqlText ListSql() = 0;
    virtual QString ListFailure() = 0;
    virtual int RowKey(TQuery &row) = 0;
    // Runs once the list is read, before any card: pages whose figures come
    // from one grouped pass load them here. False when a query failed.
    virtual bool LoadFigures() { return true; }
    // Fills card i from the current row; adds the row's share of the total,
    // whole fen on the money pages (each card's amount as it shows it), a count on the stock page.
    virtual bool FillCard(int i, TQuery &row, qint64 &total) = 0;
    // The share of a row that gets no card.
    virtual bool Contribution(TQuery &row, qint64 &total) = 0;
    virtual QString TotalText(qint64 total) = 0;
    virtual void OpenCard(int k) = 0;
    virtual void NewClick() = 0;

    // Icon and colour of a card by its figure: red below zero, blue otherwise.
    void Grade(int card, double value, const QList<QLabel *> &graded);
    bool eventFilter(QObject *watched, QEvent *event) override;

    const Look look_;

private:
    void SetPanelColour(int card, const QColor &colour);
    void WatchCardPart(QWidget *part, int card);
    int *page_;
};
