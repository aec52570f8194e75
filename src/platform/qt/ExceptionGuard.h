#pragma once
// The one guard around every entry from Qt into the program's code: an exception is shown and the
// program keeps running, as the system's default handler does.
#include <exception>
#include <functional>
#include <QApplication>

/// Shows the message of the exception being handled (call inside a catch block).
void ShowCurrentException();

/// Runs fn; an exception it throws is shown and goes no further.
void RunGuarded(const std::function<void()>& fn);

/// The application object: every event that Qt delivers runs inside the guard.
class TavloApplication : public QApplication {
public:
    TavloApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
