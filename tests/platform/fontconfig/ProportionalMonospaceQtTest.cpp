// Where the system's fixed-pitch font resolves to a proportional face, a missing face still gives
// way to a fixed-pitch one. The font configuration is read once per process, so this program sets
// its own before the toolkit starts: the system's, with "monospace" mapped to DejaVu Sans.
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

constexpr char ProportionalMonospace[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
  <match target="pattern">
    <test name="family"><string>monospace</string></test>
    <edit name="family" mode="assign_replace" binding="strong"><string>DejaVu Sans</string></edit>
  </match>
</fontconfig>
)";

TEST(ProportionalMonospaceQtTest, AMissingFaceGivesWayToAScalableFixedPitchFaceNotToTheSystemsProportionalOne)
{
    QtTestGraphics graphics;
    QFont system(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    system.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    ASSERT_FALSE(QFontInfo(system).fixedPitch()) << "the system's fixed-pitch font resolves to "
                                                 << QFontInfo(system).family().toStdString();

    TFont font;
    font.Name = u"Lucidia Console";
    font.Height = -13;
    const QFont used = ToQFont(font);
    const QFontInfo info(used);
    const std::string family = info.family().toStdString();
    EXPECT_TRUE(info.fixedPitch()) << family;
    EXPECT_TRUE(QFontDatabase::isFixedPitch(info.family())) << family;
    EXPECT_TRUE(QFontDatabase::isSmoothlyScalable(info.family())) << family;
    EXPECT_EQ(info.pixelSize(), 13) << family;
    const QFontMetrics metrics(used);
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("iiiiiiii")),
              metrics.horizontalAdvance(QStringLiteral("WWWWWWWW"))) << family;

    // As a self-drawn control measures it.
    QImage image(1, 1, QImage::Format_RGB32);
    QtCanvas canvas(image);
    canvas.SetFont(font);
    EXPECT_EQ(canvas.TextExtent(u"iiiiiiii").cx, canvas.TextExtent(u"WWWWWWWW").cx) << family;
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
