#include "platform/qt/ExceptionGuard.h"

TavloApplication::TavloApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TavloApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowCurrentException();
        return true;
    }
}
