#include "ui/Artwork.h"
#include "db/DataSource.h"
#include "ui/Dialogs.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "app/QtTranslations.h"
#include "db/ShareDM.h"
#include "support/InstanceLock.h"

#include "ui/GuardedApplication.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

int main(int argc, char *argv[])
{
    TGuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationDisplayName(QStringLiteral("Mirelo进销存"));
    QApplication::setDesktopFileName(QStringLiteral("kestrova"));
    QtTranslations::Install();

    CreateForms();
    // Held until the end of main, after the forms and the connection are gone.
    // Books on a server are shared by design: only a file is kept to one copy.
    TInstanceLock onlyCopy(ShareDataModule->DatabaseFile());
    if (!TDataSource::Registered().server && !onlyCopy.Acquire()) {
        DestroyForms();
        return 1;
    }
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(Artwork::AppIcon(64))));
    // Centred from the first start, so the login dialog centred over it is too.
    if (const QScreen *screen = QApplication::primaryScreen()) {
        QRect placed = FormMain->frameGeometry();
        placed.moveCenter(screen->availableGeometry().center());
        FormMain->move(placed.topLeft());
    }
    FormMain->show();
    // The first showing runs once the loop is up, so the login sits over the main window.
    QTimer::singleShot(0, FormMain, [] { Dialogs::Attempt([] { FormMain->FormShow(); }); });
    const int code = app.exec();
    DestroyForms();
    return code;
}
