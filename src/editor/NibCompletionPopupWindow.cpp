// The popup's window, its appearance and its metrics.
#include <algorithm>
#include "editor/NibCompletionPopup.h"
#include "editor/NibUnicode.h"

namespace {

/// What the heights of both fonts are measured with.
constexpr std::u16string_view MeasureText = u"CompletionProposal";

}  // namespace

void TNibBaseCompletionProposalForm::Show()
{
    if (Visible()) return;
    SetVisible(true);
    if (FCurrentEditor) {
        OldShowCaret = FCurrentEditor->AlwaysShowCaret();
        FCurrentEditor->SetAlwaysShowCaret(FCurrentEditor->EditorFocused());
    }
    if (FWindow) FWindow->ShowPopup(FDisplayKind == ctCode);
    Fire(OnShow, this);
}

void TNibBaseCompletionProposalForm::Hide()
{
    if (!Visible()) return;
    SetVisible(false);
    if (FWindow) FWindow->HidePopup();
    if (FCurrentEditor) FCurrentEditor->SetAlwaysShowCaret(OldShowCaret);
    Fire(OnHide, this);
}

void TNibBaseCompletionProposalForm::Activate()
{
    Show();
    if (FDisplayKind == ctCode && FCurrentEditor) FCurrentEditor->AddFocusControl(this);
}

void TNibBaseCompletionProposalForm::Deactivate()
{
    if (FDisplayKind == ctCode && FCurrentEditor) FCurrentEditor->RemoveFocusControl(this);
    Hide();
}

TRect TNibBaseCompletionProposalForm::WindowBounds() const { return FWindow ? FWindow->PopupBounds() : FWindowBounds; }

void TNibBaseCompletionProposalForm::SetWindowBounds(const TRect& Value)
{
    FWindowBounds = Value;
    if (FWindow) FWindow->SetPopupBounds(Value);
}

void TNibBaseCompletionProposalForm::RecreateWindow()
{
    if (FWindow) FWindow->RecreateWindow();
}

void TNibBaseCompletionProposalForm::Sizing(int& AWidth, int& AHeight)
{
    if (FDisplayKind != ctCode) return;
    const int frame = FWindow ? FWindow->FrameThickness() : 0;
    const int scrollBar = FWindow ? FWindow->ScrollBarWidth() : 0;
    // The rows are counted in the client height, so a height between two rows keeps the smaller number.
    const int itemHeight = std::max(FEffectiveItemHeight, 1);
    FLinesInWindow = std::max((AHeight - 2 * frame - FHeightBuffer) / itemHeight, 1);
    AHeight = FLinesInWindow * itemHeight + FHeightBuffer + 2 * frame;
    AWidth = std::max(AWidth, scrollBar + 2 * frame);
}

void TNibBaseCompletionProposalForm::Resize()
{
    if (FEffectiveItemHeight != 0) FLinesInWindow = std::max((ClientHeight() - FHeightBuffer) / FEffectiveItemHeight, 0);
    SizeBitmaps();
    AdjustScrollBarPosition();
    Invalidate();
}

void TNibBaseCompletionProposalForm::SizeBitmaps()
{
    // A list leaves room for its title bar; a hint draws on the whole client area.
    const int listTop = FDisplayKind == ctCode ? FHeightBuffer : 0;
    FBitmap->SetSize(ClientWidth(), std::max(ClientHeight() - listTop, 0));
    FTitleBitmap->SetSize(ClientWidth(), FHeightBuffer);
}

void TNibBaseCompletionProposalForm::FontsChanged()
{
    Canvas& canvas = FBitmap->GetCanvas();
    canvas.SetFont(FTitleFont);
    FTitleFontHeight = CanvasTextHeight(canvas, MeasureText);
    canvas.SetFont(FFont);
    FFontHeight = CanvasTextHeight(canvas, MeasureText);
    FHeightBuffer = FTitle.empty() ? 0 : FTitleFontHeight + 4;
    RecalcItemHeight();
}

void TNibBaseCompletionProposalForm::RecalcItemHeight()
{
    FEffectiveItemHeight = FItemHeight > 0 ? FItemHeight : FFontHeight;
    Resize();
}

void TNibBaseCompletionProposalForm::SetTitle(const UnicodeString& Value)
{
    FTitle = Value;
    FontsChanged();
}

void TNibBaseCompletionProposalForm::SetItemFont(const TFont& Value)
{
    FFont = Value;
    FontsChanged();
}

void TNibBaseCompletionProposalForm::SetTitleFont(const TFont& Value)
{
    FTitleFont = Value;
    FontsChanged();
}

void TNibBaseCompletionProposalForm::SetItemHeight(int Value)
{
    if (Value == FItemHeight) return;
    FItemHeight = Value;
    RecalcItemHeight();
}

void TNibBaseCompletionProposalForm::SetMargin(int Value)
{
    FMargin = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetResizeable(bool Value)
{
    FResizeable = Value;
    RecreateWindow();
}

void TNibBaseCompletionProposalForm::SetClSelect(TColor Value)
{
    FClSelect = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetClSelectText(TColor Value)
{
    fClSelectText = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetClTitleBackground(TColor Value)
{
    FClTitleBackground = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetClBackground(TColor Value)
{
    fClBackGround = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetImages(const TCustomImageList* Value)
{
    FImages = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetColumns(const TProposalColumns& Value)
{
    FColumns.Assign(Value);
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetFormattedText(bool Value)
{
    FFormattedText = Value;
    Invalidate();
}

void TNibBaseCompletionProposalForm::SetCenterTitle(bool Value)
{
    FCenterTitle = Value;
    Invalidate();
}
