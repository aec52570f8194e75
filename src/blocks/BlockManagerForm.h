#pragma once
// The Block Manager page's widgets above its status bar: the grid at the page's left edge, sized
// for 64 characters of its font, between the page's left and right tool bars, and the grid's
// pop-up menu. A window narrower than grid and bars scrolls them sideways.
#include <QWidget>
#include "blocks/BlockManager.h"

class ControlHostWidget;
class QtActionBars;

class TBlockManagerForm : public QWidget {
public:
    /// The manager must outlive the form.
    TBlockManagerForm(TBlockManager& manager, QWidget* parent = nullptr);

    /// Gives the grid its pop-up menu of line and block actions, as the bars show them.
    void AddPopUpMenu(const QtActionBars& bars);
    /// Shows the bars of those names left and right of the grid from the bars' next Show.
    void HostToolBars(QtActionBars& bars, const UnicodeString& leftBar, const UnicodeString& rightBar);
    ControlHostWidget* GridHost() const { return fGridHost; }

    /// Room for the grid and the whole of both bars.
    QSize sizeHint() const override;

private:
    TBlockManager& fManager;
    /// The grid and the bars' slots, inside the sideways scroll area.
    QWidget* fContent;
    ControlHostWidget* fGridHost;
    QWidget* fLeftBarSlot = nullptr;
    QWidget* fRightBarSlot = nullptr;
};
