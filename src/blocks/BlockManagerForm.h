#pragma once
// The Block Manager page's widgets above its status bar: the grid at the page's left edge, sized
// for 64 characters of its font, between the page's left and right tool bars, and the grid's
// pop-up menu.
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

private:
    TBlockManager& fManager;
    ControlHostWidget* fGridHost;
    QWidget* fLeftBarSlot = nullptr;
    QWidget* fRightBarSlot = nullptr;
};
