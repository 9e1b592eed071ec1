#pragma once
// Every message box, question, file dialog, web link and modal showing of a
// window goes through here, so that tests can play the user.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <exception>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;
class TForm;

namespace Dialogs {

// What a test puts in place of the user. Each call gets what the program asked.
class Handler {
public:
    virtual ~Handler() = default;
    virtual void Message(const QString &text) = 0;
    virtual bool YesNo(const QString &caption, const QString &text) = 0;
    virtual QString OpenFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString SaveFileName(const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual void OpenUrl(const QUrl &url) = 0;
    // The window has run its show logic; act on it and close it, or leave it open for Cancel.
    virtual void Modal(QDialog *window) = 0;
    // The print dialog; unanswered, it is cancelled.
    virtual bool ChoosePrinter(QPrinter *) { return false; }
};

void SetHandler(Handler *handler);   // nullptr: the real dialogs
Handler *CurrentHandler();

void ShowMessage(const QString &text);
// Yes/No box owned by the application window; true only for Yes.
bool AskYesNo(const QString &caption, const QString &text);
QString GetOpenFileName(const QString &caption, const QString &dir, const QString &filter);
// confirmOverwrite false: a chosen existing file is replaced without asking.
QString GetSaveFileName(const QString &caption, const QString &dir, const QString &filter, bool confirmOverwrite = true);
// The folder save and open dialogs start in: the desktop, or home without one.
QString StartFolder();
// Asks where to save a file of one type, proposing the name in the folder of
// the last such file saved, or StartFolder() at first; ".suffix" is added when
// the chosen name lacks it. Empty when cancelled.
QString GetSaveFileWithSuffix(const QString &caption, const QString &proposedName, const QString &filter,
                              const QString &suffix);
// The same for a file of one of several types: a name ending in none of the
// suffixes gets the first.
QString GetSaveFileWithSuffix(const QString &caption, const QString &proposedName, const QString &filter,
                              const QStringList &suffixes);
void ForgetLastSaveFolder();
void OpenUrl(const QUrl &url);
// The print dialog for this printer; true when the user chose to print.
bool ChoosePrinter(QPrinter *printer);
// Runs work where an operation starts (a handler): a text that is no number
// or a database failure ends it with its message instead of leaving the
// handler, since nothing may be thrown through Qt's event dispatch. False
// when it failed.
bool Attempt(const std::function<void()> &work);
// What a failure thrown by an operation says to the user (a failure of the
// books with its reason, the connection made again when it was lost).
QString FailureText(const std::exception_ptr &failure);
// Runs the window's FormShow, then shows it modally unless FormShow already closed it.
int ShowModal(TForm *window);
// Puts a window over the middle of the window that raises it (kept on screen).
void CentreOnOwner(QWidget *window);

} // namespace Dialogs
