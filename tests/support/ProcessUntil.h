#pragma once
// Waiting in tests for something another process or a queued event brings about.
#include <QCoreApplication>
#include <QElapsedTimer>

// Handles events until Done holds or a generous bound passes, so a lost event cannot hang.
template <class TDone>
bool ProcessUntil(TDone Done)
{
    QElapsedTimer clock;
    clock.start();
    while (!Done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return Done();
}
