#include "shell/BackgroundWork.h"

#include "shell/ProgressForm.h"
#include "shell/ShareDM.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <exception>

namespace {
// While the work runs, what the user does is dropped (not kept for later): the
// window paints and its timers run, but nothing is clicked, typed or closed.
class InputBlocker : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::Close:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};
} // namespace

bool BackgroundWork::Run(const std::function<bool(const Progress &)> &work)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return work([](int) {});

    QPointer<TFormProgress> progress = FormProgress;
    if (progress)
        progress->SetPosition(0);
    bool result = false;
    std::exception_ptr failure;
    QThread *thread = QThread::create([&] {
        try {
            result = work([progress, app](int p) {
                QMetaObject::invokeMethod(app, [progress, p] {
                    if (progress)
                        progress->SetPosition(p);
                }, Qt::QueuedConnection);
            });
        } catch (...) {
            failure = std::current_exception();
        }
        if (ShareDataModule)
            ShareDataModule->CloseThreadConnection();
    });
    InputBlocker blocker;
    app->installEventFilter(&blocker);
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    // Work done in a moment shows no window flashing by.
    QTimer later;
    later.setSingleShot(true);
    QObject::connect(&later, &QTimer::timeout, &loop, [progress] {
        if (progress)
            progress->show();
    });
    later.start(ProgressDelayMs);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    app->removeEventFilter(&blocker);
    if (progress)
        progress->hide();
    if (failure)
        std::rethrow_exception(failure);
    return result;
}
