#include "blocks/BlockManagerForm.h"
#include <QHBoxLayout>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include "platform/qt/ControlHostWidget.h"
#include "platform/qt/QtActionBars.h"
#include "platform/qt/QtCanvas.h"

TBlockManagerForm::TBlockManagerForm(TBlockManager& manager, QWidget* parent)
    : QWidget(parent), fManager(manager), fContent(new QWidget),
      fGridHost(new ControlHostWidget(manager.DrawGrid1, fContent))
{
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // Only sideways: upright, the bars fold into their extension buttons and the grid scrolls itself.
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroller);
    auto* layout = new QHBoxLayout(fContent);
    layout->setContentsMargins(0, 0, 0, 0);
    QImage image(1, 1, QImage::Format_RGB32);
    QtCanvas canvas(image);
    // The grid's own width holds room for the scroll bar.
    fGridHost->setFixedWidth(fManager.LayoutBlockGrid(canvas) - 20 + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    // Slots for the page's tool bars, empty until the bars are hosted in them.
    for (QWidget** slot : {&fLeftBarSlot, &fRightBarSlot}) {
        *slot = new QWidget(fContent);
        auto* slotLayout = new QVBoxLayout(*slot);
        slotLayout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(fLeftBarSlot);
    layout->addWidget(fGridHost);
    layout->addWidget(fRightBarSlot);
    layout->addStretch();
    scroller->setWidget(fContent);
}

QSize TBlockManagerForm::sizeHint() const { return fContent->sizeHint(); }

void TBlockManagerForm::HostToolBars(QtActionBars& bars, const UnicodeString& leftBar, const UnicodeString& rightBar)
{
    bars.HostBar(leftBar, fLeftBarSlot);
    bars.HostBar(rightBar, fRightBarSlot);
}

void TBlockManagerForm::AddPopUpMenu(const QtActionBars& bars)
{
    bars.AddPopUpMenu(fGridHost->Surface(),
                      {fManager.BlockEditUndoAct, nullptr, fManager.BlockEditCopyLinesAct,
                       fManager.BlockEditCutLinesAct, fManager.BlockEditPasteLinesAct, fManager.DeleteLineAct,
                       nullptr, fManager.BlockEditSelecyAllAct, fManager.BlockEditSelectBlockAct, nullptr,
                       fManager.BlockEditInsertBlankAboveAct, fManager.BlockEditInsertBlankBelowAct});
}
