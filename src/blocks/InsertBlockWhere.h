#pragma once
// The "Insert Empty Block" dialog: where a new empty block goes.
#include <array>
#include "platform/Dialogs.h"
#include "platform/Events.h"

/// The dialog's choices, in the order of its radio group.
enum TInsertBlockWhere : int { ibAtStart = 0, ibBeforeCurrent = 1, ibAfterCurrent = 2, ibAtEnd = 3 };

/// Shows the dialog: lets the user change the choice, and says whether OK was pressed.
class TInsertBlockWhereView {
public:
    virtual ~TInsertBlockWhereView() = default;
    /// Shows the choice, runs the dialog modally; on OK the choice holds the user's pick.
    virtual TModalResult ShowModal(int& ItemIndex) = 0;
};

class TInsertBlockWhereDlg : public TObject {
public:
    static constexpr const char16_t* Caption = u"Insert Empty Block";
    static constexpr const char16_t* GroupCaption = u"[ Insert Position ]";
    static constexpr std::array<const char16_t*, 4> Items = {
        u"Insert new block at start of block file", u"Insert new block before current block",
        u"Insert new block after current block", u"Insert new block at end of block file"};

    void SetView(TInsertBlockWhereView* view) { fView = view; }
    /// mrOk when the user chose a place, else mrCancel (also with no view to ask).
    TModalResult ShowModal();

    /// The chosen place; the last choice stays for the next time.
    int ItemIndex = ibAfterCurrent;

private:
    TInsertBlockWhereView* fView = nullptr;
};
