#include "ui/BackgroundWork.h"

#include "ui/ProgressForm.h"
#include "db/ShareDM.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <exception>

namespace {
// While the work runs, what the user does is dropped (not kept for later): the
// window paints and its timers run, but nothing is clicked, typed or closed,
// except in a message or question the work itself put up meanwhile.
class InputBlocker : public QObject {
public:
    InputBlocker() : before_(QApplication::activeModalWidget()) {}

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
            return !ForTheWorksOwnDialog(watched);
        case QEvent::Close:
            if (ForTheWorksOwnDialog(watched))
                return false;
            // Not dropped: the window closes when the work is done.
            if (QWidget *window = WindowOf(watched); window && !closeLater_.contains(window))
                closeLater_ << window;
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    static QWidget *WindowOf(QObject *receiver)
    {
        if (auto *widget = qobject_cast<QWidget *>(receiver))
            return widget->isWindow() ? widget : nullptr;
        if (auto *window = qobject_cast<QWindow *>(receiver))
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->windowHandle() == window)
                    return top;
        return nullptr;
    }

    bool ForTheWorksOwnDialog(QObject *receiver) const
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == before_)
            return false;
        QWidget *widget = qobject_cast<QWidget *>(receiver);
        if (auto *window = qobject_cast<QWindow *>(receiver))
            widget = modal->windowHandle() == window ? modal : nullptr;
        return widget && widget->window() == modal;
    }

    QPointer<QWidget> before_;   // a dialog already open when the work began stays closed to input

public:
    QList<QPointer<QWidget>> closeLater_;
};

int running = 0;
} // namespace

bool BackgroundWork::Running() { return running > 0; }

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
    ++running;
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
    --running;
    if (progress)
        progress->hide();
    for (const QPointer<QWidget> &window : std::as_const(blocker.closeLater_))
        if (window)
            QTimer::singleShot(0, window, [window] { window->close(); });
    if (failure)
        std::rethrow_exception(failure);
    return result;
}
