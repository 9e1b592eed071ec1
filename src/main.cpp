#include "shell/Application.h"
#include "shell/Forms.h"
#include "shell/MainForm.h"
#include "shell/PublicFunction.h"
#include "support/InstanceLock.h"

#include <QTimer>

int main(int argc, char *argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Kestrova"));
    TApplication::setApplicationDisplayName(QStringLiteral("Mirelo进销存"));

    CreateForms();
    TInstanceLock onlyCopy(ProgramDir);
    if (!onlyCopy.Acquire()) {
        DestroyForms();
        return 1;
    }
    FormMain->show();
    // The first showing runs once the loop is up, so the login sits over the main window.
    QTimer::singleShot(0, FormMain, [] { FormMain->FormShow(); });
    const int code = app.exec();
    DestroyForms();
    return code;
}
