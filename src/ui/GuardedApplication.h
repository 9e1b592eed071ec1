#pragma once
// The application of the program: nothing thrown by a handler may cross Qt's
// event dispatch. Handlers catch their own failures; what one of them missed
// ends here, is said once after the event, and the program goes on.

#include <QApplication>
#include <exception>

class TGuardedApplication : public QApplication {
public:
    TGuardedApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

private:
    void Tell(const std::exception_ptr &failure);
    bool telling_ = false;
};
