#include "shell/Application.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EConvertError &e) {
        Dialogs::ShowMessage(e.Message());
    } catch (const std::exception &e) {
        Dialogs::ShowMessage(QStringLiteral("操作失败：") + QString::fromUtf8(e.what()));
    }
    return false;
}
