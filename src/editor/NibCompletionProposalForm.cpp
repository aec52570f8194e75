#include "editor/NibCompletionProposalForm.h"
#include <climits>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include "platform/qt/ControlHostWidget.h"

TNibCompletionProposalForm::TNibCompletionProposalForm(TNibBaseCompletionProposal& Proposal, QWidget* parent)
    : fProposal(Proposal), fWindow(Proposal.Form(), parent)
{
    fProposal.SetDesktop(this);
}

TNibCompletionProposalForm::~TNibCompletionProposalForm() { fProposal.SetDesktop(nullptr); }

TPoint TNibCompletionProposalForm::ClientToScreen(const Control& AControl, TPoint P) const
{
    // A control shown by no widget has no place on the screen: its client point stands for one.
    const auto* host = dynamic_cast<const ControlHostWidget*>(AControl.Host());
    if (!host) return P;
    const QPoint global = host->Surface()->mapToGlobal(QPoint(P.X, P.Y));
    return {global.x(), global.y()};
}

TSize TNibCompletionProposalForm::VirtualScreenSize() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {INT_MAX, INT_MAX};
    const QRect desktop = screen->virtualGeometry();
    return {desktop.x() + desktop.width(), desktop.y() + desktop.height()};
}

TPoint TNibCompletionProposalForm::MousePos() const
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

bool TNibCompletionProposalForm::ApplicationActive() const
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}
