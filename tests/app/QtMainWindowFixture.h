#pragma once
// What the desktop main window needs around it: the toolkit with its graphics, the Qt main loop,
// the application object and an application-data folder of the test's own, all let go when the
// test ends.
#include <gtest/gtest.h>
#include "app/Application.h"
#include "platform/QtTestApplication.h"
#include "platform/qt/QtMainLoop.h"
#include "support/TempFolder.h"

class QtMainWindowFixture : public ::testing::Test {
protected:
    QtMainWindowFixture()
    {
        MainLoop::SetCurrent(&loop);
        Application = &application;
    }
    ~QtMainWindowFixture() override
    {
        Application = nullptr;
        MainLoop::SetCurrent(nullptr);
    }

    QtTestGraphics graphics;
    TempFolder appData;
    AppDataAt appDataAt{appData.Path()};
    QtMainLoop loop;
    TApplication application;
};
