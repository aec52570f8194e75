#pragma once
// Shows a completion proposal on the desktop: the popup's top-level window, and the screen, mouse
// and application state that placing and opening the list ask for.
#include <QWidget>
#include "editor/NibCompletionPopupForm.h"
#include "editor/NibCompletionProposal.h"

class TNibCompletionProposalForm : public TNibCompletionDesktop {
public:
    /// The proposal must outlive the form; the window's parent is the editor's top-level widget.
    explicit TNibCompletionProposalForm(TNibBaseCompletionProposal& Proposal, QWidget* parent = nullptr);
    ~TNibCompletionProposalForm() override;
    TNibCompletionProposalForm(const TNibCompletionProposalForm&) = delete;
    TNibCompletionProposalForm& operator=(const TNibCompletionProposalForm&) = delete;

    TNibCompletionPopupForm& Window() { return fWindow; }

    TPoint ClientToScreen(const Control& AControl, TPoint P) const override;
    TSize VirtualScreenSize() const override;
    TPoint MousePos() const override;
    bool ApplicationActive() const override;

private:
    TNibBaseCompletionProposal& fProposal;
    TNibCompletionPopupForm fWindow;
};
