#include "blocks/UploadDlgForm.h"

#include <gtest/gtest.h>
#include <chrono>
#include <functional>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include "link/ConnectionManager.h"
#include "platform/QtTestApplication.h"
#include "platform/Stream.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtMainLoop.h"
#include "support/FakeForthBlocks.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace {

class UploadDialogFormTest : public ::testing::Test {
protected:
    UploadDialogFormTest()
    {
        MainLoop::SetCurrent(&loop);
        link.OnRxByte = [this](TObject*, std::uint8_t b) { terminal += char(b); };
        link.OpenTcpPort(u"127.0.0.1", IntToStr(target.Port()));
        EXPECT_TRUE(ProcessUntil([&] { return link.IsConnected(); }));
    }
    ~UploadDialogFormTest() override
    {
        link.ClosePort();
        MainLoop::SetCurrent(nullptr);
    }

    bool ProcessUntil(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }
    /// While the dialog runs modally, `step` is called every few milliseconds until it returns true.
    void WhileShown(std::function<bool()> step)
    {
        auto* timer = new QTimer(&form);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, step] {
            if (step()) timer->stop();
        });
        timer->start(5);
    }

    QApplication& app = TestApplication();
    QtMainLoop loop;
    TempFolder folder;
    AppDataAt appDataAt{folder.Path()};
    ScriptedDialogs dialogs;
    FakeTcpTarget target;
    FakeForthBlocks forth{target, 16};
    TConnectionMod link;
    TUploadDialog dialog{link};
    TUploadDialogForm form{dialog};
    std::string terminal;
};

TEST_F(UploadDialogFormTest, ShowsTheTargetAndUploadsOnTheStartButton)
{
    QString available, codeState, title, startCaption;
    bool sourceReadOnly = false;
    QColor sourceBackground;
    int sourceBlocks = 0;
    WhileShown([&] {
        if (!form.StartBtn()->isEnabled()) return false;
        title = form.windowTitle();
        available = form.AvailableBlocks()->text();
        codeState = form.CodeState()->text();
        startCaption = form.StartBtn()->text();
        sourceReadOnly = form.SourceBlocks()->isReadOnly();
        sourceBackground = form.SourceBlocks()->palette().color(QPalette::Base);
        sourceBlocks = form.SourceBlocks()->value();
        form.StartBtn()->click();
        return true;
    });
    TMemoryStream image(std::string(2100, 'u'));
    dialog.Run(image, true);

    EXPECT_EQ(title, QStringLiteral("Upload Forth Blocks"));
    EXPECT_EQ(available, QStringLiteral("16"));
    EXPECT_EQ(codeState, QStringLiteral("Forth \"load-blocks\" word available."));
    EXPECT_EQ(startCaption, QStringLiteral(" Upload"));
    EXPECT_TRUE(sourceReadOnly);
    // A field the user cannot change shows in the button face, not as an edit.
    EXPECT_EQ(sourceBackground, ToQColor(clBtnFace));
    EXPECT_NE(sourceBackground, ToQColor(clWindow));
    EXPECT_EQ(sourceBlocks, 3);
    EXPECT_EQ(forth.Block(2), std::string(52, 'u') + std::string(972, ' '));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(UploadDialogFormTest, ClosingTheWindowStopsTheExchange)
{
    forth.SetSilentOn("' load-blocks");
    WhileShown([&] {
        if (form.StatusLabel()->text() != QStringLiteral("Status: Checking for \"upload-blocks\" on forth system..."))
            return false;
        form.close();
        return true;
    });
    TMemoryStream image(std::string(100, 'u'));
    dialog.Run(image, true);

    EXPECT_FALSE(dialog.Showing());
    EXPECT_TRUE(dialogs.Questions.empty());
    const std::string sent = "blk-count U.\r' load-blocks .\r";
    ASSERT_TRUE(target.WaitForReceived(sent.size()));
    EXPECT_EQ(target.Received(), sent);
    target.Send("back");
    EXPECT_TRUE(ProcessUntil([&] { return terminal == "back"; }));
}

}  // namespace
