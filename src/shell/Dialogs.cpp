#include "shell/Dialogs.h"

#include "shell/Form.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

namespace {
Dialogs::Handler *handler = nullptr;

QWidget *Owner() { return QApplication::activeWindow(); }

QString AppTitle() { return QStringLiteral("Mirelo进销存"); }
}

void Dialogs::SetHandler(Handler *h) { handler = h; }
Dialogs::Handler *Dialogs::CurrentHandler() { return handler; }

void Dialogs::ShowMessage(const QString &text)
{
    if (handler) {
        handler->Message(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::Ok, Owner());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool Dialogs::AskYesNo(const QString &caption, const QString &text)
{
    if (handler)
        return handler->YesNo(caption, text);
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, Owner());
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    box.setDefaultButton(QMessageBox::No);
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

int Dialogs::ShowModal(TForm *window)
{
    window->ResetCloseRequest();
    window->setResult(QDialog::Rejected);
    window->FormShow();
    if (window->CloseRequested())
        return window->result();
    if (handler) {
        handler->Modal(window);
        const int result = window->result();
        window->hide();
        return result;
    }
    return window->exec();
}
