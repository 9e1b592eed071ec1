#pragma once
#include <QApplication>

// Catches what an event handler throws (a number that is not one, a failed
// database call outside a guarded write) and shows it instead of ending the program.
class TApplication : public QApplication {
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
