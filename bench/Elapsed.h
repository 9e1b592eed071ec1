#pragma once
// How long a piece of work takes, in milliseconds.
#include <QElapsedTimer>

template <class Work>
double Elapsed(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}
