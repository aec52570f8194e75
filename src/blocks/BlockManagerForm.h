#pragma once
// The Block Manager page's widgets above its status bar: the grid at the page's left edge, sized
// for 64 characters of its font, and the grid's pop-up menu.
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
    ControlHostWidget* GridHost() const { return fGridHost; }

private:
    TBlockManager& fManager;
    ControlHostWidget* fGridHost;
};
