// The completion proposal's lists, options and opening step, and where the popup is placed.
#include <algorithm>
#include <climits>
#include <stdexcept>
#include <string>
#include "editor/NibCompletionPrettyText.h"
#include "editor/NibCompletionProposal.h"
#include "editor/NibUnicode.h"

TNibBaseCompletionProposal::TNibBaseCompletionProposal() : FForm(std::make_unique<TNibBaseCompletionProposalForm>())
{
    FForm->SetEndOfTokenChr(u"()[]. ");
    FForm->IsCompletionBreakChar = [this](char16_t c) { return IsCompletionBreakChar(c); };
    FForm->OnShow = [this](TObject* Sender) { Fire(OnShow, Sender); };
    FForm->OnHide = [this](TObject*) { FormHidden(); };
    SetOptions(NibDefaultCompletionOptions);
}

TNibBaseCompletionProposal::~TNibBaseCompletionProposal() = default;

void TNibBaseCompletionProposal::SetDefaultType(NibCompletionType Value)
{
    FForm->SetDefaultKind(Value);
    FForm->SetDisplayKind(Value);
    FForm->RecreateWindow();
}

void TNibBaseCompletionProposal::SetOptions(TNibCompletionOptions Value)
{
    FOptions = Value;
    FForm->SetCaseSensitive(Value & scoCaseSensitive);
    FForm->SetMatchText(Value & scoLimitToMatchedText);
    FForm->SetCenterTitle(Value & scoTitleIsCentered);
    FForm->SetUseInsertList(Value & scoUseInsertList);
    FForm->SetFormattedText(Value & scoUsePrettyText);
    FForm->SetCompleteWithTab(Value & scoCompleteWithTab);
    FForm->SetCompleteWithEnter(Value & scoCompleteWithEnter);
}

void TNibBaseCompletionProposal::ClearList()
{
    InsertList().Clear();
    ItemList().Clear();
}

void TNibBaseCompletionProposal::AddItem(const UnicodeString& DisplayText, const UnicodeString& InsertText)
{
    InsertList().Add(InsertText);
    ItemList().Add(DisplayText);
}

void TNibBaseCompletionProposal::AddItemAt(int Where, const UnicodeString& DisplayText,
                                           const UnicodeString& InsertText)
{
    // Both lists must take the item, or neither does.
    if (Where < 0 || Where > InsertList().Count() || Where > ItemList().Count())
        throw std::runtime_error("Cannot insert item at position " + std::to_string(Where) + ".");
    InsertList().Insert(Where, InsertText);
    ItemList().Insert(Where, DisplayText);
}

bool TNibBaseCompletionProposal::IsCompletionBreakChar(char16_t c) const
{
    if ((FOptions & scoConsiderWordBreakChars) && CurrentEdit() && CurrentEdit()->IsWordBreakChar(c)) return true;
    return EndOfTokenChr().find(c) != UnicodeString::npos;
}

void TNibBaseCompletionProposal::ExecuteEx(UnicodeString s, int x, int y, NibCompletionType Kind)
{
    FForm->SetDisplayKind(Kind);
    FCanExecute = true;
    Fire(OnExecute, Kind, this, s, x, y, FCanExecute);
    if (!FCanExecute || ItemList().Count() == 0) {
        if (FForm->Visible() && FForm->DisplayKind() == ctParams) FForm->Hide();
        return;
    }
    // The list lines up with the input's first DotOffset characters.
    if (const TCustomNibEdit* edit = CurrentEdit(); edit && FDotOffset > 0) {
        const int count = std::min(FDotOffset, int(s.size()));
        std::unique_ptr<Bitmap> scratch = GraphicsFactory::Current().CreateBitmap(1, 1);
        scratch->GetCanvas().SetFont(edit->Font());
        x -= CanvasTextExtent(scratch->GetCanvas(), std::u16string_view(s).substr(0, std::size_t(count)));
        x -= 3 * std::max(count - 1, 0);
    }
    ResetAssignedList();
    if (Kind == ctCode) {
        // A list that the word before the caret filters down to nothing does not open.
        if (!FForm->ShowsItemsFor(s)) return;
        FForm->SetPosition(0);
        FForm->AdjustScrollBarPosition();
        FForm->SetScrollBarVisible(true);
        PlacePopup(x, y, Kind);
        FForm->Show();
        FForm->SetCurrentString(s);
        return;
    }
    FForm->SetScrollBarVisible(false);
    PlacePopup(x, y, Kind);
    FForm->Show();
    FForm->Invalidate();
}

int TNibBaseCompletionProposal::HintWidth(NibCompletionType Kind) const
{
    std::unique_ptr<Bitmap> scratch = GraphicsFactory::Current().CreateBitmap(1, 1);
    Canvas& canvas = scratch->GetCanvas();
    canvas.SetFont(FForm->ItemFont());
    int widest = 0;
    for (int i = 0; i < ItemList().Count(); ++i) {
        const UnicodeString& item = ItemList()[i];
        int width = 0;
        if (Kind == ctParams) {
            // The widest of the item's lines with each of its parameters highlighted in turn.
            const int params = int(std::count(item.begin(), item.end(), u',')) + 1;
            for (int p = 0; p < params; ++p)
                width = std::max(width, FormattedTextWidth(canvas, FormatParameterList(item, p), &FForm->Columns(),
                                                           FForm->Images()));
            Fire(FForm->OnMeasureItem, FForm.get(), i, canvas, width);
        } else {
            width = FormattedTextWidth(canvas, item, &FForm->Columns(), FForm->Images());
        }
        widest = std::max(widest, width);
    }
    return widest;
}

void TNibBaseCompletionProposal::PlacePopup(int x, int y, NibCompletionType Kind)
{
    int width = 0;
    int height = 0;
    if (Kind == ctCode) {
        const int frame = FForm->Window() ? FForm->Window()->FrameThickness() : 0;
        width = FWidth;
        height = FForm->EffectiveItemHeight() * FNbLinesInWindow + FForm->HeightBuffer() + 2 * frame;
    } else {
        height = ItemList().Count() * FForm->EffectiveItemHeight() + 2 + 2 * FForm->Margin();
        width = HintWidth(Kind) + 2 * FForm->Margin() + 2;
    }
    const TSize screen = FDesktop ? FDesktop->VirtualScreenSize() : TSize{INT_MAX, INT_MAX};
    const TCustomNibEdit* edit = CurrentEdit();
    if (x > screen.cx - width) x = std::max(screen.cx - width - 5, 0);
    if (y > screen.cy - height) y = std::max(y - height - (edit ? edit->LineHeight() : 0) - 2, 0);
    FForm->SetWindowBounds({x, y, x + width, y + height});
}

void TNibBaseCompletionProposal::FormHidden()
{
    // The next list opens with the size the user gave this one.
    if (FForm->DisplayKind() == ctCode) {
        if (const int width = FForm->WindowBounds().Width(); width > 0) FWidth = width;
        if (FForm->LinesInWindow() > 0) FNbLinesInWindow = FForm->LinesInWindow();
    }
    Fire(OnClose, this);
}

TPoint TNibBaseCompletionProposal::ClientToScreen(const Control& AControl, TPoint P) const
{
    return FDesktop ? FDesktop->ClientToScreen(AControl, P) : P;
}

TPoint TNibBaseCompletionProposal::MousePos() const { return FDesktop ? FDesktop->MousePos() : TPoint{}; }

bool TNibBaseCompletionProposal::ApplicationActive() const { return !FDesktop || FDesktop->ApplicationActive(); }
