#pragma once
// The completion list's popup: the items, the filter typed so far, the selection, and how the list
// is drawn and driven by keys, characters, clicks, the wheel and its scroll bar. It edits no text
// itself: it forwards edits to the editor and reports acceptance and cancellation as events.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>
#include "editor/NibCompletionEditor.h"
#include "editor/NibProposalColumns.h"
#include "platform/Canvas.h"
#include "platform/Control.h"
#include "platform/ImageList.h"
#include "platform/StringList.h"

/// The popup's kind: a list to choose from, a hint, or a parameter hint.
enum NibCompletionType : std::uint8_t { ctCode, ctHint, ctParams };

/// What the popup asks of the top-level window that shows it.
class TNibPopupWindow {
public:
    virtual ~TNibPopupWindow() = default;
    /// Shows the window without taking the activation from the editor's window, so that the next
    /// click there is not spent on activating it again. With TakeKeys (a ctCode list) the keys typed
    /// there go to the popup until it hides, and a click elsewhere or another active window hides it.
    virtual void ShowPopup(bool TakeKeys) = 0;
    virtual void HidePopup() = 0;
    /// The window's outer rectangle, in screen coordinates.
    virtual TRect PopupBounds() const = 0;
    virtual void SetPopupBounds(const TRect& Bounds) = 0;
    /// Thickness of the window frame on each side.
    virtual int FrameThickness() const = 0;
    virtual int ScrollBarWidth() const = 0;
    /// Applies the kind and the sizing frame anew.
    virtual void RecreateWindow() = 0;
};

using TCompletionKeyPress = std::function<void(TObject* Sender, char16_t& Key)>;
using TCompletionPaintItem =
    std::function<void(TObject* Sender, int Index, Canvas& TargetCanvas, const TRect& ItemRect, bool& CustomDraw)>;
using TCompletionMeasureItem = std::function<void(TObject* Sender, int Index, Canvas& TargetCanvas, int& ItemWidth)>;
using TCompletionChange = std::function<void(TObject* Sender, int AIndex)>;
using TValidateEvent = std::function<void(TObject* Sender, TShiftState Shift, char16_t EndToken)>;
using TCompletionParameter = std::function<void(TObject* Sender, int CurrentIndex, int& Level, int& IndexToDisplay,
                                                char16_t& Key, UnicodeString& DisplayString)>;

class TNibBaseCompletionProposalForm : public Control {
public:
    TNibBaseCompletionProposalForm();
    ~TNibBaseCompletionProposalForm() override;

    void SetWindow(TNibPopupWindow* Window) { FWindow = Window; }
    TNibPopupWindow* Window() const { return FWindow; }

    // Lists. Changes made through ItemList() and InsertList() take effect at ResetAssignedList.
    TStringList& ItemList() { return FItemList; }
    const TStringList& ItemList() const { return FItemList; }
    /// Copies the items, shows them all, then applies the filter again.
    void SetItemList(const TStringList& Value);
    TStringList& InsertList() { return FInsertList; }
    const TStringList& InsertList() const { return FInsertList; }
    void SetInsertList(const TStringList& Value);
    /// Every item passes again, unfiltered.
    void ResetAssignedList();
    /// The items that pass the filter: their text and their index in ItemList.
    int AssignedCount() const { return int(FAssignedList.size()); }
    const UnicodeString& AssignedItem(int Index) const;
    int AssignedIndex(int Index) const;

    /// The text typed since the popup opened; setting it filters (ctCode).
    const UnicodeString& CurrentString() const { return FCurrentString; }
    void SetCurrentString(const UnicodeString& Value);
    /// Whether the list would show any item with this filter.
    bool ShowsItemsFor(const UnicodeString& Filter) const;

    /// The selected row of the filtered list.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    void MoveSelection(int Delta);
    /// The ItemList index of a filtered row, and back (-1 when the item is filtered out).
    int LogicalToPhysicalIndex(int Index) const;
    int PhysicalToLogicalIndex(int Index) const;
    /// The first visible row: the scroll bar's position.
    int TopRow() const { return ScrollInfo(TScrollBarKind::sbVertical).Position; }
    int LinesInWindow() const { return FLinesInWindow; }
    /// The scroll bar's range after a change of the list or of the window's height.
    void AdjustScrollBarPosition();
    void SetScrollBarVisible(bool Value);

    // Appearance.
    const UnicodeString& Title() const { return FTitle; }
    void SetTitle(const UnicodeString& Value);
    const TFont& ItemFont() const { return FFont; }
    void SetItemFont(const TFont& Value);
    const TFont& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFont& Value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int Value);
    int EffectiveItemHeight() const { return FEffectiveItemHeight; }
    int FontHeight() const { return FFontHeight; }
    int TitleFontHeight() const { return FTitleFontHeight; }
    /// The title bar's height: 0 without a title.
    int HeightBuffer() const { return FHeightBuffer; }
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    bool Resizeable() const { return FResizeable; }
    void SetResizeable(bool Value);
    TColor ClSelect() const { return FClSelect; }
    void SetClSelect(TColor Value);
    TColor ClSelectText() const { return fClSelectText; }
    void SetClSelectText(TColor Value);
    TColor ClTitleBackground() const { return FClTitleBackground; }
    void SetClTitleBackground(TColor Value);
    TColor ClBackground() const { return fClBackGround; }
    void SetClBackground(TColor Value);
    const TCustomImageList* Images() const { return FImages; }
    void SetImages(const TCustomImageList* Value);
    const TProposalColumns& Columns() const { return FColumns; }
    void SetColumns(const TProposalColumns& Value);
    /// Lines the wheel scrolls per notch: the system's setting, -1 for a page.
    void SetWheelScrollLines(int Value) { FWheelScrollLines = Value; }

    // Behaviour.
    bool CaseSensitive() const { return FCase; }
    void SetCaseSensitive(bool Value) { FCase = Value; }
    bool MatchText() const { return FMatchText; }
    void SetMatchText(bool Value) { FMatchText = Value; }
    bool FormattedText() const { return FFormattedText; }
    void SetFormattedText(bool Value);
    bool CenterTitle() const { return FCenterTitle; }
    void SetCenterTitle(bool Value);
    bool UseInsertList() const { return FUseInsertList; }
    void SetUseInsertList(bool Value) { FUseInsertList = Value; }
    bool CompleteWithTab() const { return FCompleteWithTab; }
    void SetCompleteWithTab(bool Value) { FCompleteWithTab = Value; }
    bool CompleteWithEnter() const { return FCompleteWithEnter; }
    void SetCompleteWithEnter(bool Value) { FCompleteWithEnter = Value; }
    NibCompletionType DisplayKind() const { return FDisplayKind; }
    void SetDisplayKind(NibCompletionType Value) { FDisplayKind = Value; }
    NibCompletionType DefaultKind() const { return FDefaultKind; }
    void SetDefaultKind(NibCompletionType Value) { FDefaultKind = Value; }
    int CurrentIndex() const { return FCurrentIndex; }
    void SetCurrentIndex(int Value) { FCurrentIndex = Value; }
    int CurrentLevel() const { return FCurrentLevel; }
    void SetCurrentLevel(int Value) { FCurrentLevel = Value; }
    const UnicodeString& EndOfTokenChr() const { return FEndOfTokenChr; }
    void SetEndOfTokenChr(const UnicodeString& Value) { FEndOfTokenChr = Value; }
    const UnicodeString& TriggerChars() const { return FTriggerChars; }
    void SetTriggerChars(const UnicodeString& Value) { FTriggerChars = Value; }
    TNibCompletionEditor* CurrentEditor() const { return FCurrentEditor; }
    void SetCurrentEditor(TNibCompletionEditor* Value) { FCurrentEditor = Value; }

    // The window.
    /// Shows the popup and runs the show step; a ctCode list takes the keys.
    void Show();
    /// Hides the popup and runs the hide step.
    void Hide();
    /// The popup took the keys: shown and, for ctCode, in the editor's focus list.
    void Activate();
    /// The popup lost the keys: out of the focus list, then hidden.
    void Deactivate();
    TRect WindowBounds() const;
    void SetWindowBounds(const TRect& Value);
    void RecreateWindow();
    /// While the user resizes: the height snaps to whole rows, the width keeps room for the frame
    /// and the scroll bar.
    void Sizing(int& AWidth, int& AHeight);
    const Bitmap& ListBitmap() const { return *FBitmap; }
    const Bitmap& TitleBitmap() const { return *FTitleBitmap; }

    /// The editor's break test, asked of the owning component; without one, EndOfTokenChr decides.
    std::function<bool(char16_t)> IsCompletionBreakChar;
    TCompletionKeyPress OnKeyPress;
    TCompletionPaintItem OnPaintItem;
    TCompletionMeasureItem OnMeasureItem;
    TCompletionChange OnChangePosition;
    TValidateEvent OnValidate;
    TNotifyEvent OnCancel;
    TCompletionParameter OnParameterToken;
    /// After the popup is shown, and after it is hidden.
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

    void Paint(Canvas& canvas) override;
    void Resize() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char16_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    bool MouseWheel(TShiftState shift, int wheelDelta, TPoint pos) override;
    void Scroll(TScrollBarKind kind, TScrollCode code, int position) override;

private:
    /// Whether an item's text starts with a filter.
    bool Matches(int ItemIndex, std::u16string_view Filter) const;
    bool IsBreakChar(char16_t c) const;
    void RecalcItemHeight();
    /// The list and title bitmaps take the client size.
    void SizeBitmaps();
    /// Measures both fonts, then the title bar and item heights and the rows that fit.
    void FontsChanged();
    /// Tells OnChangePosition the selected item, while a ctCode list shows.
    void FireChangePosition();
    /// Moves the scroll bar, which keeps it within its range.
    void SetTopRow(int Row);
    void EditorCommand(TNibEditorCommand Command, char16_t AChar = 0);
    /// Backspace and Left: with an empty filter the editor moves and the list closes; else the
    /// filter loses its last character and the editor moves.
    void ShrinkFilterOrCancel(TNibEditorCommand Command);
    void PaintList(Canvas& canvas);
    void PaintTitle(Canvas& canvas);
    void PaintHint(Canvas& canvas);

    struct TAssignedItem {
        UnicodeString Text;
        int Index;
    };

    TNibPopupWindow* FWindow = nullptr;
    TRect FWindowBounds;
    UnicodeString FCurrentString;
    TStringList FItemList;
    TStringList FInsertList;
    std::vector<TAssignedItem> FAssignedList;
    int FPosition = 0;
    int FLinesInWindow = 0;
    int FTitleFontHeight = 0;
    int FFontHeight = 0;
    TColor FClSelect = clHighlight;
    TColor fClSelectText = clHighlightText;
    TColor FClTitleBackground = clBtnFace;
    TColor fClBackGround = clWindow;
    std::unique_ptr<Bitmap> FBitmap;
    std::unique_ptr<Bitmap> FTitleBitmap;
    TNibCompletionEditor* FCurrentEditor = nullptr;
    UnicodeString FTitle;
    TFont FTitleFont{u"MS Sans Serif", -11, TFontStyles(TFontStyle::fsBold), clBtnText};
    TFont FFont{u"MS Sans Serif", -11, 0, clWindowText};
    bool FResizeable = true;
    int FItemHeight = 0;
    int FMargin = 2;
    int FEffectiveItemHeight = 0;
    const TCustomImageList* FImages = nullptr;
    bool FCase = false;
    bool FMatchText = false;
    bool FFormattedText = false;
    bool FCenterTitle = true;
    bool FUseInsertList = false;
    bool FCompleteWithTab = false;
    bool FCompleteWithEnter = false;
    int FMouseWheelAccumulator = 0;
    int FWheelScrollLines = 3;
    NibCompletionType FDisplayKind = ctCode;
    int FCurrentIndex = 0;
    int FCurrentLevel = 0;
    NibCompletionType FDefaultKind = ctCode;
    UnicodeString FEndOfTokenChr;
    UnicodeString FTriggerChars;
    bool OldShowCaret = false;
    int FHeightBuffer = 0;
    TProposalColumns FColumns{nullptr};
};
