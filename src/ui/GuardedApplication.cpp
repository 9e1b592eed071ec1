#include "ui/GuardedApplication.h"

#include "ui/Dialogs.h"

#include <QTimer>

TGuardedApplication::TGuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool TGuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        Tell(std::current_exception());
    }
    return false;
}

void TGuardedApplication::Tell(const std::exception_ptr &failure)
{
    // Said after the event: the books are asked again (a lost connection) never from
    // inside a paint. One message at a time: events of the box itself may fail the same way.
    QTimer::singleShot(0, this, [this, failure] {
        if (telling_)
            return;
        telling_ = true;
        Dialogs::ShowMessage(Dialogs::FailureText(failure));
        telling_ = false;
    });
}
