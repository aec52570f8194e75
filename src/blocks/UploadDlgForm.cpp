#include "blocks/UploadDlgForm.h"

#include <algorithm>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include "platform/qt/QtColor.h"
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

constexpr int kLampSize = 16;

}  // namespace

TUploadDialogForm::TUploadDialogForm(TUploadDialog& dialog, QWidget* parent)
    : QDialog(parent), fDialog(dialog), fFirstBlock(new QSpinBox), fSourceBlocks(new QSpinBox),
      fAvailableBlocks(new QLabel), fCodeLamp(new QLabel), fCodeState(new QLabel),
      fPadByte(new QGroupBox(QStringLiteral("[ Pad Block ]"))),
      fPadSpaces(new QRadioButton(QStringLiteral("Pad block with space characters"))),
      fPadNulls(new QRadioButton(QStringLiteral("Pad block with null (0) bytes"))), fStatus(new QLabel),
      fProgress(new QProgressBar), fStartBtn(new QPushButton)
{
    setModal(true);
    setMinimumWidth(420);

    auto* range = new QGridLayout;
    range->addWidget(new QLabel(QStringLiteral("First Block:")), 0, 0);
    range->addWidget(fFirstBlock, 0, 1);
    range->addWidget(new QLabel(QStringLiteral("Source Blocks:")), 0, 2);
    range->addWidget(fSourceBlocks, 0, 3);
    range->addWidget(new QLabel(QStringLiteral("Available Blocks: ")), 1, 0);
    range->addWidget(fAvailableBlocks, 1, 1);
    range->setColumnStretch(1, 1);
    range->setColumnStretch(3, 1);

    fCodeLamp->setFixedSize(kLampSize, kLampSize);
    auto* code = new QHBoxLayout;
    code->addWidget(fCodeLamp);
    code->addWidget(fCodeState, 1);

    auto* pad = new QVBoxLayout(fPadByte);
    pad->addWidget(fPadSpaces);
    pad->addWidget(fPadNulls);

    fProgress->setTextVisible(false);
    fStartBtn->setIconSize(QSize(24, 24));
    fStartBtn->setToolTip(Q(dialog.UploadAct.Hint));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(fStartBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addLayout(code);
    layout->addWidget(fPadByte);
    layout->addWidget(fStatus);
    layout->addWidget(fProgress);
    layout->addLayout(buttons);

    connect(fFirstBlock, &QSpinBox::valueChanged, this, [this](int value) { fDialog.SetFirstBlock(value); });
    connect(fSourceBlocks, &QSpinBox::valueChanged, this, [this](int value) { fDialog.SetSourceBlocks(value); });
    connect(fPadSpaces, &QRadioButton::toggled, this, [this](bool on) { if (on) fDialog.SetPadByte(0); });
    connect(fPadNulls, &QRadioButton::toggled, this, [this](bool on) { if (on) fDialog.SetPadByte(1); });
    connect(fStartBtn, &QPushButton::clicked, this, [this] { fDialog.UploadAct.Execute(); });

    fDialog.SetView(this);
    Changed();
}

TUploadDialogForm::~TUploadDialogForm()
{
    fDialog.SetView(nullptr);
}

void TUploadDialogForm::ShowModal()
{
    PlaceWindow(this, parentWidget());
    exec();
}

void TUploadDialogForm::CloseModal()
{
    QDialog::reject();
}

void TUploadDialogForm::reject()
{
    if (fDialog.Showing())
        fDialog.Close();
    else
        QDialog::reject();
}

void TUploadDialogForm::Changed()
{
    // Showing a value must not come back as the user's change.
    const QSignalBlocker firstBlock(fFirstBlock);
    const QSignalBlocker sourceBlocks(fSourceBlocks);
    const QSignalBlocker spaces(fPadSpaces);
    const QSignalBlocker nulls(fPadNulls);

    setWindowTitle(Q(fDialog.Caption));
    fFirstBlock->setRange(fDialog.C_FirstBlock.MinValue, std::max(fDialog.C_FirstBlock.MinValue, fDialog.C_FirstBlock.MaxValue));
    fFirstBlock->setValue(fDialog.C_FirstBlock.Value);
    fSourceBlocks->setRange(fDialog.C_SourceBlocks.MinValue,
                            std::max(fDialog.C_SourceBlocks.MinValue, fDialog.C_SourceBlocks.MaxValue));
    fSourceBlocks->setValue(fDialog.C_SourceBlocks.Value);
    fSourceBlocks->setReadOnly(fDialog.C_SourceBlocksReadOnly);
    fSourceBlocks->setButtonSymbols(fDialog.C_SourceBlocksReadOnly ? QAbstractSpinBox::NoButtons
                                                                   : QAbstractSpinBox::UpDownArrows);
    QPalette sourcePalette = fSourceBlocks->palette();
    sourcePalette.setColor(QPalette::Base, ToQColor(fDialog.C_SourceBlocksColor));
    fSourceBlocks->setPalette(sourcePalette);
    fAvailableBlocks->setText(Q(fDialog.C_AvailableBlocks));
    fCodeLamp->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid black; border-radius: %2px;")
                                 .arg(ToQColor(fDialog.C_UploadCodeAvailableColor).name())
                                 .arg(kLampSize / 2));
    fCodeState->setText(Q(fDialog.C_CodeState));
    (fDialog.C_PadByte == 0 ? fPadSpaces : fPadNulls)->setChecked(true);
    fPadByte->setEnabled(fDialog.C_PadByteEnabled);
    fStatus->setText(Q(fDialog.StatusLabel));
    fProgress->setRange(0, std::max(fDialog.ProgressMax, 1));
    fProgress->setValue(std::min(fDialog.ProgressPosition, std::max(fDialog.ProgressMax, 1)));
    fStartBtn->setText(Q(fDialog.StartBtnCaption));
    fStartBtn->setIcon(style()->standardIcon(fDialog.StartBtnGlyph == 2 ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown));
    fDialog.UploadAct.Update();
    fStartBtn->setEnabled(fDialog.UploadAct.Enabled);
}
