#pragma once
// What the windows share about this run of the program: the working date, the
// role logged in, and the word that the books changed or that a page should
// show. Widget-free: the main window keeps it up to date and listens to it;
// pages, editors, reports and stores below the main window read and tell it,
// and never reach the main window themselves.

#include "core/SqlText.h"

#include <QDate>
#include <QObject>
#include <QString>

class TSession : public QObject {
    Q_OBJECT
public:
    enum View { CustomerView, StockView };

    explicit TSession(QObject *parent = nullptr);

    QDate WorkingDate() const { return workingDate_; }
    void SetWorkingDate(const QDate &date) { workingDate_ = date; }
    QString Role() const { return role_; }
    void SetRole(const QString &role) { role_ = role; }

    // The books changed: every view refreshes (the main window's general refresh).
    void BooksChanged() { emit Changed(); }
    // One view's records changed and only it needs refilling.
    void ViewChanged(View view) { emit ViewRefresh(view); }
    // Brings a page of the main window to the front (its index among the pages).
    void ShowPage(int page) { emit PageWanted(page); }
    // The data centre shows the bills of this search.
    void ShowBills(const SqlText &sql) { emit BillsWanted(sql); }

signals:
    void Changed();
    void ViewRefresh(TSession::View view);
    void PageWanted(int page);
    void BillsWanted(const SqlText &sql);

private:
    QDate workingDate_;
    QString role_;
};

extern TSession *Session;
