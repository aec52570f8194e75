// The program entry: start-up of the units, the platform services, the forms, the message loop.
#include <QIcon>
#include "app/Application.h"
#include "app/ProgramForms.h"
#include "app/ProgramFormsForm.h"
#include "app/Unit1Form.h"
#include "platform/qt/ExceptionGuard.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtMainLoop.h"

int main(int argc, char** argv)
{
    InitializeUnits();
    TavloApplication app(argc, argv);
    InitializeApplication();
    QApplication::setApplicationName(QString::fromStdU16String(ApplicationTitle()));
    // Set once here, the icon reaches the main window and every dialog; the desktop entry's name
    // lets task bars match the windows with the installed entry.
    QIcon icon;
    for (const char* size : {"16", "32", "48"}) icon.addFile(QStringLiteral(":/icons/tavlo-terminal-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QApplication::setDesktopFileName(QStringLiteral("tavlo-terminal"));
    QtMainLoop loop;
    MainLoop::SetCurrent(&loop);
    QtDialogs dialogs;
    Dialogs::SetCurrent(&dialogs);
    QtGraphicsFactory graphics;
    GraphicsFactory::SetCurrent(&graphics);
    QtClipboard clipboard;
    Clipboard::SetCurrent(&clipboard);

    TApplication application;
    Application = &application;
    TQtFormFactory forms;
    RunGuarded([&] { CreateForms(forms); });
    if (!forms.MainWindow()) return 1;
    forms.MainWindow()->show();
    return app.exec();
}
