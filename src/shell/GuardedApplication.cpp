#include "shell/GuardedApplication.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QTimer>

TGuardedApplication::TGuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const EConvertError &e) {
        Tell(e.Message());
    } catch (const EDatabaseError &e) {
        const EDatabaseError failure = e;
        // The books are asked again only after the event, never from inside a paint.
        QTimer::singleShot(0, this, [this, failure] {
            Tell(ShareDataModule ? ShareDataModule->Explained(QStringLiteral("操作失败"), failure) : failure.Message());
        });
    } catch (const std::exception &e) {
        Tell(QStringLiteral("操作失败：") + QString::fromUtf8(e.what()));
    }
    return false;
}

void TGuardedApplication::Tell(const QString &text)
{
    // One message at a time: events of the box itself may fail the same way.
    QTimer::singleShot(0, this, [this, text] {
        if (telling_)
            return;
        telling_ = true;
        Dialogs::ShowMessage(text);
        telling_ = false;
    });
}
