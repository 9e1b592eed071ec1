#pragma once
// A program folder of its own for each test, a scripted user in place of the
// dialogs, and a fixed "today".

#include "core/SqlText.h"
#include "db/DataSource.h"
#include "ui/Dialogs.h"

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>
#include <deque>
#include <functional>

class QWidget;

class DialogScript : public Dialogs::Handler {
public:
    QStringList messages;                 // every message box text, in order
    QStringList questions;                // "caption|text" of every Yes/No question
    std::deque<bool> answers;             // answers to the next questions; No when none is left
    QList<QUrl> urls;                     // web pages opened
    QStringList modals;                   // object names of the windows shown modally
    std::deque<std::function<void(QDialog *)>> onModal;   // acts on the next modal windows
    QStringList fileDialogs;              // "caption|start|filter" of every file dialog shown
    QString openFile, saveFile;           // what the next file dialogs pick; empty: cancelled
    QString printFile;                    // the print dialog prints into this PDF file; cancelled when empty
    int printDialogs = 0;

    void Message(const QString &text) override { messages << text; }
    bool YesNo(const QString &caption, const QString &text) override;
    QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) override
    {
        fileDialogs << caption + QLatin1Char('|') + dir + QLatin1Char('|') + filter;
        return openFile;
    }
    QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) override
    {
        fileDialogs << caption + QLatin1Char('|') + dir + QLatin1Char('|') + filter;
        return saveFile;
    }
    void OpenUrl(const QUrl &url) override { urls << url; }
    void Modal(QDialog *window) override;
    bool ChoosePrinter(QPrinter *printer) override;

    void Then(std::function<void(QDialog *)> action) { onModal.push_back(std::move(action)); }
    // Answers the next login dialog with this role and password.
    void LoginAs(const QString &role, const QString &password);
    void CancelLogin();
    // The messages shown, each without the reason a failure gives after what failed
    // (the engines word their reasons differently).
    QStringList WhatFailed() const;
};

// A file's bytes (empty when it cannot be read), and a file written whole.
QByteArray FileBytes(const QString &file);
void WriteFile(const QString &file, const QByteArray &data);

// Types text into the widget key by key, as a keyboard or an input method does
// (QTest::keyClicks takes ASCII only).
void TypeText(QWidget *widget, const QString &text);

// The steps SQLite plans for a statement, with its values bound; empty when it cannot be planned.
QStringList QueryPlan(const SqlText &sql);

// Fresh: new books on the engine the fixture switch names; File: new books in a file whatever it names.
enum class Db { Fresh, File, None };

class TestEnv {
public:
    explicit TestEnv(Db db = Db::Fresh, bool makeForms = true);
    ~TestEnv();
    TestEnv(const TestEnv &) = delete;
    TestEnv &operator=(const TestEnv &) = delete;

    QString Dir() const;                 // the program folder, with a trailing "/"
    QString DatabaseFile() const { return Dir() + QStringLiteral("Kestrova.mdb"); }
    void Exec(const QString &sql, const QVariantList &params = {});
    QVariant Scalar(const QString &sql, const QVariantList &params = {});
    // The rows of a Select, each written through format (%1 its first column, %2 the
    // next...) and joined by separator. Values read alike on both engines: an
    // amount as "30.0", a whole number as "3", NULL as "".
    QString Rows(const QString &sql, const QString &format, const QString &separator = QStringLiteral(","),
                 const QVariantList &params = {});
    // Every row of every table the books keep (not those made from the others), in key order.
    QStringList AllRows();
    // From now on every write of this event ("Insert", "Update", "Delete") on the
    // table fails, or only those after which the condition (a Where on the books) holds.
    void Refuse(const QString &event, const QString &table, const QString &condition = QString());
    // Marks the data source as registered, so start-up goes straight to the login.
    void MarkRegistered();
    // Logs in as finance supervisor through the start-up road.
    void StartAsFinance();

    // Fixture rows; each returns the new key. Amounts are stored as given (signed).
    int AddCustomer(const QString &name, const QString &region = QStringLiteral("本地"), double owe = 0);
    int AddAccount(const QString &name);
    int AddProduct(const QString &name, const QString &type = QStringLiteral("T1"), double price = 0,
                   const QString &serial = QString());
    int AddBill(const QString &kind, const QString &user, const QDate &date, double sum, double money = 0,
                int account = 1);
    void AddLine(int bill, int product, int number);
    void AddSG(const QString &customer, const QDate &date, double sum, const QString &remark = QString());
    // Copies the delivered report templates into the program folder's Frf/.
    void InstallTemplates();
    // Answers the next data-modification password prompt.
    void GivePassword(const QString &password = QStringLiteral("6666"));

    // The books are on the test server rather than in a file.
    static bool OnServer();

    DialogScript script;

private:
    QTemporaryDir dir_;
    bool forms_;
    TDataSource server_;
};
