#include "ui/Dialogs.h"

#include <algorithm>

#include "ui/Form.h"
#include "core/Notice.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QThread>

namespace {
Dialogs::Handler *handler = nullptr;

// The window that raised the dialog: the modal window on top, else the active
// one, else the main window (activation may lag behind, or be missing
// without a window manager), found among the top-level windows.
QWidget *Owner(const QWidget *except = nullptr)
{
    for (QWidget *w : {QApplication::activeModalWidget(), QApplication::activeWindow()})
        if (w && w != except && w->window()->isVisible())
            return w->window();
    // The program's main window: the one top-level window that is not a dialog.
    QWidget *main = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w != except && w->windowType() == Qt::Window && (!main || (w->isVisible() && !main->isVisible())))
            main = w;
    return main;
}

QString AppTitle() { return QStringLiteral("Mirelo进销存"); }

// Wide enough for the window manager to show the whole title beside its buttons.
void FitTitle(QMessageBox &box)
{
    QFont font = box.font();
    font.setBold(true);
    const int width = QFontMetrics(font).horizontalAdvance(box.windowTitle()) * 13 / 10 + 150;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}
}

void Dialogs::CentreOnOwner(QWidget *window)
{
    const QWidget *owner = Owner(window);
    if (!owner)
        return;
    const QRect over = owner->frameGeometry();
    QRect placed(QPoint(0, 0), window->frameGeometry().size());
    placed.moveCenter(over.center());
    // Never off the screen the owner is on.
    if (const QScreen *screen = owner->screen()) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(qBound(room.left(), placed.left(), qMax(room.left(), room.right() - placed.width() + 1)));
        placed.moveTop(qBound(room.top(), placed.top(), qMax(room.top(), room.bottom() - placed.height() + 1)));
    }
    window->move(placed.topLeft());
}

// What the books, stores and files have to say is shown as every message is.
[[maybe_unused]] const bool noticesShown = (Notice::Install(Dialogs::ShowMessage, Dialogs::AskYesNo), true);

void Dialogs::SetHandler(Handler *h) { handler = h; }
Dialogs::Handler *Dialogs::CurrentHandler() { return handler; }

namespace {
// Work running off the window's thread shows its messages on the window's thread.
template <typename F> auto OnWindowThread(F f)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread())
        return f();
    decltype(f()) result{};
    QMetaObject::invokeMethod(app, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
}
} // namespace

void Dialogs::ShowMessage(const QString &text)
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        OnWindowThread([&] {
            ShowMessage(text);
            return true;
        });
        return;
    }
    if (handler) {
        handler->Message(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::Ok, Owner());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    FitTitle(box);
    box.exec();
}

bool Dialogs::AskYesNo(const QString &caption, const QString &text)
{
    if (QThread::currentThread() != QCoreApplication::instance()->thread())
        return OnWindowThread([&] { return AskYesNo(caption, text); });
    if (handler)
        return handler->YesNo(caption, text);
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, Owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::No);
    FitTitle(box);
    return box.exec() == QMessageBox::Yes;
}

QString Dialogs::GetOpenFileName(const QString &caption, const QString &dir, const QString &filter)
{
    if (handler)
        return handler->OpenFileName(caption, dir, filter);
    return QFileDialog::getOpenFileName(Owner(), caption, dir, filter);
}

QString Dialogs::GetSaveFileName(const QString &caption, const QString &dir, const QString &filter, bool confirmOverwrite)
{
    if (handler)
        return handler->SaveFileName(caption, dir, filter);
    return QFileDialog::getSaveFileName(Owner(), caption, dir, filter, nullptr,
                                        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
}

QString Dialogs::StartFolder()
{
    const QString desktop = GetDesktopFolder();
    return desktop.isEmpty() ? QDir::homePath() : desktop;
}

namespace {
QString lastSaveFolder;   // where the user last saved a printout or a list, while the program runs
}

void Dialogs::ForgetLastSaveFolder() { lastSaveFolder.clear(); }

QString Dialogs::GetSaveFileWithSuffix(const QString &caption, const QString &proposedName, const QString &filter,
                                       const QString &suffix)
{
    return GetSaveFileWithSuffix(caption, proposedName, filter, QStringList{suffix});
}

QString Dialogs::GetSaveFileWithSuffix(const QString &caption, const QString &proposedName, const QString &filter,
                                       const QStringList &suffixes)
{
    const QString folder = !lastSaveFolder.isEmpty() && QFileInfo(lastSaveFolder).isDir() ? lastSaveFolder : StartFolder();
    // A name from the books (a customer's) may hold what a file name cannot.
    QString name = proposedName;
    for (QChar &c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    QString file = GetSaveFileName(caption, QDir(folder).filePath(name), filter);
    if (file.isEmpty())
        return file;
    if (std::none_of(suffixes.begin(), suffixes.end(),
                     [&](const QString &suffix) { return file.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive); }))
        file += QLatin1Char('.') + suffixes.value(0);
    lastSaveFolder = QFileInfo(file).absolutePath();
    return file;
}

void Dialogs::OpenUrl(const QUrl &url)
{
    if (handler) {
        handler->OpenUrl(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

bool Dialogs::ChoosePrinter(QPrinter *printer)
{
    if (handler)
        return handler->ChoosePrinter(printer);
    QPrintDialog dialog(printer, Owner());
    dialog.setWindowTitle(QStringLiteral("打印"));
    return dialog.exec() == QDialog::Accepted;
}

bool Dialogs::Attempt(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const std::exception &) {
        ShowMessage(FailureText(std::current_exception()));
    }
    return false;
}

QString Dialogs::FailureText(const std::exception_ptr &failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const EConvertError &e) {
        return e.Message();
    } catch (const EDatabaseError &e) {
        return ShareDataModule ? ShareDataModule->Explained(QStringLiteral("操作失败"), e) : e.Message();
    } catch (const std::exception &e) {
        return QStringLiteral("操作失败：") + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("操作失败");
    }
}

int Dialogs::ShowModal(TForm *window)
{
    window->ResetCloseRequest();
    window->setResult(QDialog::Rejected);
    // A window whose records cannot be read says why and is not shown.
    if (!Attempt([window] { window->FormShow(); }))
        return QDialog::Rejected;
    if (window->CloseRequested())
        return window->result();
    window->MarkClean();
    // A window of fixed size offers no maximize button (the window manager would otherwise).
    if (window->minimumSize() == window->maximumSize() && !window->isVisible())
        window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowCloseButtonHint);
    CentreOnOwner(window);
    if (handler) {
        handler->Modal(window);
        const int result = window->result();
        window->hide();
        return result;
    }
    return window->exec();
}
