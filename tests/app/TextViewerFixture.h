#pragma once
// A snapshot viewer view without widgets: remembers what the viewer last showed.
#include <array>
#include "app/frmTextViewer.h"

class RecordingTextViewerView : public TTextViewerView {
public:
    void TextChanged(const UnicodeString& text) override { Text = text; }
    void SelectionChanged(int start, int length) override
    {
        SelStart = start;
        SelLength = length;
    }
    void StatusPanelChanged(int panel, const UnicodeString& text) override { Panels.at(std::size_t(panel)) = text; }
    void ShowViewer() override { ++Shown; }
    void FocusText() override { Focus = "text"; }
    void FocusFindEdit() override { Focus = "find"; }

    UnicodeString Text;
    int SelStart = -1;
    int SelLength = -1;
    std::array<UnicodeString, TTextViewer::StatusPanelCount> Panels;
    int Shown = 0;
    const char* Focus = "";
};
