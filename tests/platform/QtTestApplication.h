#pragma once
// The one application object of a Qt test program, with the program's exception guard. It is
// destroyed when the tests end, before the toolkit's own statics go. And the toolkit's graphics
// for a test that draws, and the faces a test draws its text in.
#include <gtest/gtest.h>
#include <QApplication>
#include "platform/qt/ExceptionGuard.h"
#include "platform/qt/QtCanvas.h"

/// The fixed-pitch face of the font package that scripts/deps installs (fonts-dejavu-core). A test
/// that draws text selects it by family, so what it sees does not hang on the machine's other fonts.
inline constexpr char16_t TestFixedFace[] = u"DejaVu Sans Mono";

/// The font in the test face, all else kept.
inline TFont InTestFace(TFont font)
{
    font.Name = TestFixedFace;
    return font;
}

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
    if (!TestApplicationObject()) {
        TestApplicationObject() = new TavloApplication(argc, argv);
        // The toolkit's own widgets draw in the proportional face of the same package.
        QFont font = QApplication::font();
        font.setFamily(QStringLiteral("DejaVu Sans"));
        QApplication::setFont(font);
    }
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
