// Where the system's fixed-pitch font resolves to a proportional face, a missing face still gives
// way to a fixed-pitch one. The font configuration is read once per process, so this program sets
// its own before the toolkit starts: the system's, with "monospace" preferring DejaVu Sans.
#include <cstdlib>
#include <gtest/gtest.h>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include "platform/QtTestApplication.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtColor.h"
#include "support/TempFolder.h"

namespace {

// Ahead of the system's own rules, so that DejaVu Sans comes before the faces they prefer for
// monospace; a face asked for by name keeps its own substitutes.
constexpr char ProportionalMonospace[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="strong">
    <family>monospace</family>
    <prefer><family>DejaVu Sans</family></prefer>
  </alias>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
</fontconfig>
)";

TEST(ProportionalMonospaceQtTest, AMissingFaceGivesWayToAScalableFixedPitchFaceNotToTheSystemsProportionalOne)
{
    QtTestGraphics graphics;
    QFont system(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    system.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    ASSERT_FALSE(QFontInfo(system).fixedPitch()) << "the system's fixed-pitch font resolves to "
                                                 << QFontInfo(system).family().toStdString();

    // The faces that the designed fonts name, and a misspelt one.
    for (const char16_t* name : {u"Lucida Console", u"Courier New", u"Lucidia Console"}) {
        TFont font;
        font.Name = name;
        font.Height = -13;
        const QFont used = ToQFont(font);
        const QFontInfo info(used);
        SCOPED_TRACE(QString::fromStdU16String(font.Name).toStdString() + " draws in " +
                     info.family().toStdString());
        EXPECT_TRUE(info.fixedPitch());
        EXPECT_TRUE(QFontDatabase::isFixedPitch(info.family()));
        EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(info.family()));
        EXPECT_EQ(info.pixelSize(), 13);
        const QFontMetrics metrics(used);
        EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiiiiiii")),
                  metrics.horizontalAdvance(QStringLiteral("WWWWWWWW")));

        // As a self-drawn control measures it.
        QImage image(1, 1, QImage::Format_RGB32);
        QtCanvas canvas(image);
        canvas.SetFont(font);
        EXPECT_EQ(canvas.TextExtent(u"iiiiiiii").cx, canvas.TextExtent(u"WWWWWWWW").cx);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const TempFolder folder;
    folder.Write("fonts.conf", ProportionalMonospace);
    setenv("FONTCONFIG_FILE", folder.Path("fonts.conf").c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
