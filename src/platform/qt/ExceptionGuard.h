#pragma once
// The one guard around every entry from Qt into the program's code: an exception is shown and the
// program keeps running, as the system's default handler does.
#include <QApplication>
#include "platform/ExceptionGuard.h"

/// The application object: every event that Qt delivers runs inside the guard.
class TavloApplication : public QApplication {
public:
    TavloApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
