// The application object of the program: no exception ever leaves an event
// handler. One that would is shown as a German error box, from the event loop
// and once for repeats, and the event loop goes on; a silent abort (a refused
// change) ends only its handler.
#pragma once

#include <QApplication>

#include <functional>

// Runs handler; an exception it throws becomes a box (engine errors with the
// database's message), shown when control is back in the event loop, and the
// result false. Returns the handler's result.
bool RunGuarded(const std::function<bool()> &handler);

class TGuardedApplication : public QApplication
{
public:
    TGuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

    bool notify(QObject *receiver, QEvent *event) override;
};
