#pragma once
// The one application object of a Qt test program, with the program's exception guard. It is
// destroyed when the tests end, before the toolkit's own statics go. And the toolkit's graphics
// for a test that draws.
#include <gtest/gtest.h>
#include <QApplication>
#include "platform/qt/ExceptionGuard.h"
#include "platform/qt/QtCanvas.h"

inline QApplication*& TestApplicationObject()
{
    static QApplication* app = nullptr;
    return app;
}

inline QApplication& TestApplication()
{
    static int argc = 1;
    static char name[] = "qttest";
    static char* argv[] = {name, nullptr};
    if (!TestApplicationObject()) TestApplicationObject() = new TavloApplication(argc, argv);
    return *TestApplicationObject();
}

class QtTestApplicationEnvironment : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete TestApplicationObject();
        TestApplicationObject() = nullptr;
    }
};

inline ::testing::Environment* const QtTestApplicationRegistered =
    ::testing::AddGlobalTestEnvironment(new QtTestApplicationEnvironment);

/// The application and the toolkit's graphics, current for the life of the object: declare it
/// before anything that makes fonts or bitmaps.
struct QtTestGraphics {
    QtTestGraphics()
    {
        TestApplication();
        GraphicsFactory::SetCurrent(&factory);
    }
    ~QtTestGraphics() { GraphicsFactory::SetCurrent(nullptr); }
    QtTestGraphics(const QtTestGraphics&) = delete;
    QtTestGraphics& operator=(const QtTestGraphics&) = delete;

    QtGraphicsFactory factory;
};
