#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "codeeditor/EditPairsDlg.h"
#include "app/ProgramForms.h"
#include "app/StartupFixture.h"
#include "app/TextViewerFixture.h"
#include "blocks/InsertBlockWhere.h"
#include "blocks/UploadDlg.h"
#include "platform/Dialogs.h"
#include "link/ConnectionManager.h"
#include "settings/ConfigTerm.h"
#include "settings/MapKeys.h"
#include "settings/SelectComPort.h"

namespace {

// Records the order of creation and what existed at each step.
class RecordingFactory : public TFormFactory {
public:
    explicit RecordingFactory(TTavloTerminalView& view) : fView(view) {}

    TTavloTerminal* CreateTavloTerminal() override
    {
        Note("TTavloTerminal");
        fMain = std::make_unique<TTavloTerminal>(fView);
        return fMain.get();
    }
    TConfigTerm* CreateConfigTerm() override
    {
        MainWindowReadyAlone = TavloTerminal && ConnectionMod && TavloTerminal->Options && TavloTerminal->ComOkBuffer && !ConfigTerm &&
                               !MapTermKeys && !InsertBlockWhereDlg && !UploadDialog && !EditPairsForm &&
                               !SelectComPortDlg && !TextViewer;
        return Make(fConfigTerm, "TConfigTerm");
    }
    TMapTermKeys* CreateMapTermKeys() override
    {
        Note("TMapTermKeys");
        fMapTermKeys = std::make_unique<TMapTermKeys>(UnicodeString());
        return fMapTermKeys.get();
    }
    TInsertBlockWhereDlg* CreateInsertBlockWhereDlg() override { return Make(fInsert, "TInsertBlockWhereDlg"); }
    TUploadDialog* CreateUploadDialog() override
    {
        Note("TUploadDialog");
        fUpload = std::make_unique<TUploadDialog>(*ConnectionMod);
        return fUpload.get();
    }
    TEditPairsForm* CreateEditPairsForm() override { return Make(fPairs, "TEditPairsForm"); }
    TSelectComPortDlg* CreateSelectComPortDlg() override { return Make(fSelect, "TSelectComPortDlg"); }
    TTextViewer* CreateTextViewer() override
    {
        Note("TTextViewer");
        fViewer = std::make_unique<TTextViewer>(fViewerView);
        return fViewer.get();
    }

    std::vector<std::string> Order;
    /// When the second form was made: had the main window finished FormCreate, with no other form
    /// in existence?
    bool MainWindowReadyAlone = false;

private:
    template <typename T>
    T* Make(std::unique_ptr<T>& form, const char* name)
    {
        Note(name);
        form = std::make_unique<T>();
        return form.get();
    }

    void Note(const char* name) { Order.push_back(name); }

    TTavloTerminalView& fView;
    std::unique_ptr<TTavloTerminal> fMain;
    std::unique_ptr<TConfigTerm> fConfigTerm;
    std::unique_ptr<TMapTermKeys> fMapTermKeys;
    std::unique_ptr<TInsertBlockWhereDlg> fInsert;
    std::unique_ptr<TUploadDialog> fUpload;
    std::unique_ptr<TEditPairsForm> fPairs;
    std::unique_ptr<TSelectComPortDlg> fSelect;
    RecordingTextViewerView fViewerView;
    std::unique_ptr<TTextViewer> fViewer;
};

TEST_F(StartupTest, FormsAreCreatedOnceInOrderWithTheMainWindowReadyFirst)
{
    InitializeApplication();
    EXPECT_EQ(ApplicationTitle(), u"Tavlo Terminal");
    RecordingFactory factory(view);
    CreateForms(factory);

    EXPECT_EQ(factory.Order, (std::vector<std::string>{"TTavloTerminal", "TConfigTerm", "TMapTermKeys",
                                                       "TInsertBlockWhereDlg", "TUploadDialog", "TEditPairsForm",
                                                       "TSelectComPortDlg", "TTextViewer"}));
    EXPECT_TRUE(factory.MainWindowReadyAlone);
    EXPECT_NE(TavloTerminal, nullptr);
    EXPECT_NE(TextViewer, nullptr);
    EXPECT_EQ(HostAddressForm, view.HostForm);
    ClearFormGlobals();
    EXPECT_EQ(TavloTerminal, nullptr);
    EXPECT_EQ(HostAddressForm, nullptr);
}

TEST_F(StartupTest, FirstStartShowsTheTerminalPageWithTheDesignedCaptionAndTerminal)
{
    TTavloTerminal window(view);
    window.FormCreate();

    EXPECT_EQ(window.Caption(), u"Tavlo Terminal Ver 2.3");
    EXPECT_EQ(window.OriginalCaption, u"Tavlo Terminal Ver 2.3");
    EXPECT_EQ(window.ActivePage(), pgTerminal);
    EXPECT_EQ(view.Pages, std::vector<TMainPage>{pgTerminal});
    EXPECT_EQ(view.BlockStatus[9], u"(none)");
    EXPECT_EQ(window.SimpleTerminal1.Rows(), 200);
    EXPECT_EQ(window.SimpleTerminal1.Color(), clMoneyGreen);
    EXPECT_EQ(window.SimpleTerminal1.Font().Name, u"Lucida Console");
    EXPECT_EQ(window.SimpleTerminal1.Font().Height, -13);
    EXPECT_TRUE(window.Timer1.Enabled());
    EXPECT_EQ(window.Timer1.Interval(), 500);
    EXPECT_EQ(window.BlockManager.BlockEditLastChangeId, 1);
    EXPECT_EQ(window.BlockManager.BlockEditData.Count(), 0);
    EXPECT_EQ(window.Options->DisplayColumns, TConfigTermOptions().DisplayColumns);
    EXPECT_FALSE(window.InPaste);
    EXPECT_EQ(window.RxState.RxCmdNeedsParam, cmd_NONE);
}

TEST_F(StartupTest, BytesFromTheConnectionManagerReachTheScreenAndTheOkBuffer)
{
    TTavloTerminal window(view);
    window.FormCreate();
    ASSERT_NE(ConnectionMod, nullptr);
    for (std::uint8_t b : std::string("  OK")) ConnectionMod->OnRxByte(ConnectionMod, b);

    EXPECT_TRUE(window.ComOkBuffer->IsOk());
    EXPECT_EQ(window.SimpleTerminal1.GetCharAtXY(2, 0).Character, u'O');
    int column = 0, row = 0;
    window.SimpleTerminal1.GetXY(column, row);
    EXPECT_EQ(column, 4);
}

TEST_F(StartupTest, DestroyFreesTheListsAndLeavesTheConnectionManagerWithoutHandlers)
{
    TTavloTerminal window(view);
    window.FormCreate();
    window.FormDestroy();

    EXPECT_EQ(window.ComOkBuffer, nullptr);
    EXPECT_EQ(window.PasteTextLinesBuffer, nullptr);
    EXPECT_EQ(window.CodeEditorPage.CodeEditPairedWordsList, nullptr);
    ASSERT_NE(ConnectionMod, nullptr);
    EXPECT_FALSE(ConnectionMod->OnRxByte);
    EXPECT_FALSE(ConnectionMod->OnConnected);
    EXPECT_FALSE(ConnectionMod->OnClosed);
    window.RxChar(nullptr, 'x');
    EXPECT_EQ(window.SimpleTerminal1.GetCharAtXY(0, 0).Character, u' ');
}

}  // namespace
