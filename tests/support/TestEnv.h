#pragma once
// A program folder of its own for each test, the program's windows, a
// scripted user in place of the dialogs, and a fixed "today".

#include "support/BooksEnv.h"
#include "ui/Dialogs.h"

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>
#include <deque>
#include <functional>

class QWidget;

class DialogScript : public Dialogs::Handler, public NoticeScript {
public:
    QList<QUrl> urls;                     // web pages opened
    QStringList modals;                   // object names of the windows shown modally
    std::deque<std::function<void(QDialog *)>> onModal;   // acts on the next modal windows
    QStringList fileDialogs;              // "caption|start|filter" of every file dialog shown
    QString openFile, saveFile;           // what the next file dialogs pick; empty: cancelled
    QString printFile;                    // the print dialog prints into this PDF file; cancelled when empty
    int printDialogs = 0;

    void Message(const QString &text) override { Tell(text); }
    bool YesNo(const QString &caption, const QString &text) override { return Ask(caption, text); }
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
};

// Types text into the widget key by key, as a keyboard or an input method does
// (QTest::keyClicks takes ASCII only).
void TypeText(QWidget *widget, const QString &text);

// The books with the program's windows over them: the window factory makes
// the main window, the dialogs and the books object, and a scripted user
// stands in for the dialogs.
class TestEnv : public BooksEnv {
public:
    explicit TestEnv(Db db = Db::Fresh, bool makeForms = true);
    ~TestEnv() override;

    // Marks the data source as registered, so start-up goes straight to the login.
    void MarkRegistered();
    // Logs in as finance supervisor through the start-up road.
    void StartAsFinance();
    // Copies the delivered report templates into the program folder's Frf/.
    void InstallTemplates();
    // Answers the next data-modification password prompt.
    void GivePassword(const QString &password = QStringLiteral("6666"));

    DialogScript script;

private:
    bool forms_;
};
