#include "settings/ConfigTermForm.h"

#include <functional>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include "platform/Dialogs.h"
#include "platform/SerialPortList.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtWindowPlacement.h"

/// A colour box: shows its colour, and a click offers the colour dialog.
class TColorBox : public QPushButton {
public:
    explicit TColorBox(std::function<void()> changed) : fChanged(std::move(changed))
    {
        setAutoDefault(false);
        setMinimumWidth(110);
        connect(this, &QPushButton::clicked, this, [this] {
            TColor color = fColor;
            if (!Dialogs::Current().ChooseColor(color)) return;
            SetColor(color);
            fChanged();
        });
    }
    TColor Color() const { return fColor; }
    void SetColor(TColor color)
    {
        fColor = color;
        QPixmap swatch(32, 14);
        swatch.fill(ToQColor(color));
        QPainter(&swatch).drawRect(0, 0, 31, 13);
        setIcon(QIcon(swatch));
        setIconSize(swatch.size());
        setText(QString::asprintf("#%06X", unsigned((color & 0xFF) << 16 | (color & 0xFF00) | (color >> 16 & 0xFF))));
    }

private:
    TColor fColor = 0;
    std::function<void()> fChanged;
};

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

QSpinBox* Spin(TSpinRange range)
{
    auto* spin = new QSpinBox;
    spin->setRange(range.Min, range.Max);
    return spin;
}

QCheckBox* Check(const char* caption, const char* hint = nullptr)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    if (hint) box->setToolTip(QString::fromUtf8(hint));
    return box;
}

QPushButton* Button(const char* caption, const char* hint = nullptr)
{
    auto* button = new QPushButton(QString::fromUtf8(caption));
    button->setAutoDefault(false);
    if (hint) button->setToolTip(QString::fromUtf8(hint));
    return button;
}

/// A radio group box whose buttons get the ids 0, 1, ...
QGroupBox* Radios(const char* title, std::initializer_list<QString> captions, QButtonGroup*& group, QWidget* owner,
                  bool vertical = true)
{
    auto* box = new QGroupBox(QString::fromUtf8(title));
    QBoxLayout* layout = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(box)) : new QHBoxLayout(box);
    group = new QButtonGroup(owner);
    int id = 0;
    for (const QString& caption : captions) {
        auto* radio = new QRadioButton(caption);
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    return box;
}

void SetGroup(QButtonGroup* group, int id)
{
    // A group may show no selection at all.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

QComboBox* Items(const auto& items)
{
    auto* combo = new QComboBox;
    for (const char16_t* item : items) combo->addItem(Q(item));
    return combo;
}

/// The obeyed (green tick) or blocked (red bar) image of a control-code button.
QIcon CtrlCodeImage(bool obeyed)
{
    QPixmap image(24, 24);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(obeyed ? QColor(0x2E, 0x9E, 0x3A) : QColor(0xC8, 0x2B, 0x2B));
    p.drawEllipse(2, 2, 20, 20);
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    if (obeyed) {
        p.drawLine(7, 12, 11, 16);
        p.drawLine(11, 16, 17, 8);
    } else {
        p.drawLine(7, 12, 17, 12);
    }
    return QIcon(image);
}

QFont SampleFont(const UnicodeString& face, int size)
{
    // Without a face of its own the editor uses the system's fixed-pitch font.
    if (face.empty()) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (size > 0) fixed.setPointSize(size);
        return fixed;
    }
    TFont font;
    font.Name = face;
    font.SetSize(size > 0 ? size : 10);
    return ToQFont(font);
}

void SetTextColor(QWidget* label, TColor color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ToQColor(color));
    label->setPalette(palette);
}

void SetBackground(QWidget* panel, TColor color)
{
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

const char* const WordSampleCaptions[6] = {"Base Tavlo Words", "Compiled Words", "Numeric Literals",
                                           "String Constants", "Document Comments", "Other Symbols"};

}  // namespace

TConfigTermForm::TConfigTermForm(TConfigTerm& logic, QWidget* parent)
    : QDialog(parent), fLogic(logic), fPages(new QTabWidget)
{
    setWindowTitle(QStringLiteral("Terminal Settings"));
    fPages->addTab(TerminalPage(), QStringLiteral("Terminal"));
    fPages->addTab(CommandCodesPage(), QStringLiteral("Command Codes"));
    fPages->addTab(ComPortPage(), QStringLiteral("Com Port"));
    fPages->addTab(EditorPage(), QStringLiteral("Editor"));
    fPages->setTabToolTip(3, QStringLiteral("Forth Code editor"));
    fPages->addTab(BlockFilePage(), QStringLiteral("Block File"));
    // Every page's tab stays in sight: the dialog widens to the whole tab row.
    fPages->tabBar()->setUsesScrollButtons(false);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fPages);
    layout->addWidget(buttons);

    fLogic.SetView(this);
    ControlsChanged(fLogic.Controls());
}

TConfigTermForm::~TConfigTermForm() { fLogic.SetView(nullptr); }

QWidget* TConfigTermForm::TerminalPage()
{
    auto* page = new QWidget;
    fBgColor = new TColorBox([this] { ShowSamples(); });
    fTextColor = new TColorBox([this] { ShowSamples(); });
    fTextSample = new QLabel(QStringLiteral("Normal Text"));
    fTextSample->setAlignment(Qt::AlignCenter);
    fTextSample->setMinimumHeight(60);
    QPushButton* font = Button("Font");
    connect(font, &QPushButton::clicked, this, [this] { fLogic.TerminalFontClick(); });

    auto* colours = new QFormLayout;
    colours->addRow(QStringLiteral("Background color:"), fBgColor);
    colours->addRow(QStringLiteral("Text normal color:"), fTextColor);
    auto* sampleRow = new QHBoxLayout;
    sampleRow->addWidget(fTextSample, 1);
    sampleRow->addWidget(font, 0, Qt::AlignTop);

    fColumns = Spin(DisplayColumnsRange);
    fRows = Spin(DisplayRowsRange);
    fPasteDelay = Spin(PasteLineDelayRange);
    fTabSize = Spin(TabSizeRange);
    auto* sizes = new QFormLayout;
    sizes->addRow(QStringLiteral("Columns:"), fColumns);
    sizes->addRow(QStringLiteral("Rows:"), fRows);
    sizes->addRow(QStringLiteral("Paste line delay (ms)"), fPasteDelay);
    sizes->addRow(QStringLiteral("Tab Size:"), fTabSize);
    fAbortPaste = Check("Abort Paste On Forth Error");

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(colours);
    layout->addLayout(sampleRow);
    layout->addLayout(sizes);
    layout->addWidget(fAbortPaste);
    layout->addStretch();
    return page;
}

QWidget* TConfigTermForm::CommandCodesPage()
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    for (int code = 0; code < int(fCtrlButtons.size()); ++code) {
        auto* button = new QPushButton(Q(CtrlCodeCaptions[std::size_t(code)]));
        button->setAutoDefault(false);
        button->setIconSize(QSize(24, 24));
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px;"));
        connect(button, &QPushButton::clicked, this, [this, code] { fLogic.ToggleCtrlCode(code); });
        fCtrlButtons[std::size_t(code)] = button;
        grid->addWidget(button, code % 11, code / 11);
    }
    fCrIsNewLine = Check("Carriage return = New Line");
    fBackspaceErases = Check("Erase character on backspace");
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("ASCII control characters:")));
    layout->addLayout(grid);
    layout->addWidget(fCrIsNewLine);
    layout->addWidget(fBackspaceErases);
    layout->addStretch();
    return page;
}

QWidget* TConfigTermForm::ComPortPage()
{
    auto* page = new QWidget;
    fComPort = new QComboBox;
    fComPort->setEditable(true);
    fComPort->setMinimumWidth(220);
    QPushButton* browse = Button(" ---", "Browse installed COM ports");
    connect(browse, &QPushButton::clicked, this, [this] { fLogic.BrowseComPortsClick(); });
    fBaudRate = Items(BaudRateItems);
    fDtr = Items(DtrControlItems);
    fRts = Items(RtsControlItems);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(fComPort, 1);
    portRow->addWidget(browse);
    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Com Port"), portRow);
    top->addRow(QStringLiteral("Baud Rate"), fBaudRate);

    auto* groups = new QHBoxLayout;
    groups->addWidget(Radios("Parity", {QStringLiteral("None"), QStringLiteral("Even"), QStringLiteral("Odd"),
                                        QStringLiteral("Mark")},
                             fParity, this));
    groups->addWidget(Radios("Data Bits", {QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("8")}, fDataBits,
                             this));
    groups->addWidget(Radios("Stop Bits", {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")},
                             fStopBits, this));

    auto* hardware = new QGroupBox(QStringLiteral("Hardware Flow Control"));
    auto* hardwareLayout = new QFormLayout(hardware);
    fCtsFlow = Check("CTS Flow");
    fDsrFlow = Check("DSR Flow");
    hardwareLayout->addRow(QStringLiteral("DTR"), fDtr);
    hardwareLayout->addRow(QStringLiteral("RTS"), fRts);
    hardwareLayout->addRow(fCtsFlow);
    hardwareLayout->addRow(fDsrFlow);

    auto* software = new QGroupBox(QStringLiteral("Software Flow Control"));
    auto* softwareLayout = new QFormLayout(software);
    fTxFlow = Check("TX Flow");
    fRxFlow = Check("RX Flow");
    fXon = new QLineEdit;
    fXoff = new QLineEdit;
    for (QLineEdit* edit : {fXon, fXoff}) {
        edit->setMaxLength(3);  // every byte value fits; two digits would cut 100..255
        edit->setMaximumWidth(50);
    }
    softwareLayout->addRow(fTxFlow);
    softwareLayout->addRow(fRxFlow);
    softwareLayout->addRow(QStringLiteral("Xon Char"), fXon);
    softwareLayout->addRow(QStringLiteral("Xoff Char"), fXoff);

    auto* flows = new QHBoxLayout;
    flows->addWidget(hardware);
    flows->addWidget(software);

    QPushButton* defaults = Button("Set System Defaults", "Set system default COM port settings");
    connect(defaults, &QPushButton::clicked, this, [this] { fLogic.SetSystemDefaultsClick(); });

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addLayout(flows);
    layout->addWidget(defaults, 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

QWidget* TConfigTermForm::EditorPage()
{
    auto* page = new QWidget;
    fEditorBg = new TColorBox([this] { ShowSamples(); });
    auto* colours = new QFormLayout;
    colours->addRow(QStringLiteral("Background:"), fEditorBg);
    fEditorSample = new QWidget;
    auto* sampleLayout = new QVBoxLayout(fEditorSample);
    for (std::size_t i = 0; i < fWordColors.size(); ++i) {
        fWordColors[i] = new TColorBox([this] { ShowSamples(); });
        colours->addRow(QString::fromUtf8(WordSampleCaptions[i]) + u':', fWordColors[i]);
        fWordSamples[i] = new QLabel(QString::fromUtf8(WordSampleCaptions[i]));
        sampleLayout->addWidget(fWordSamples[i]);
    }
    QPushButton* font = Button("Font", "Change editor font size and face");
    connect(font, &QPushButton::clicked, this, [this] { fLogic.EditorFontClick(); });
    auto* sampleColumn = new QVBoxLayout;
    sampleColumn->addWidget(fEditorSample);
    sampleColumn->addWidget(font, 0, Qt::AlignRight);
    sampleColumn->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(colours);
    top->addLayout(sampleColumn, 1);

    fHighlighting = Check("Use Syntax Highlighting");
    fEditorTabSize = Spin(TabSizeRange);
    fMaxBase = Spin(MaxNumericBaseRange);
    fMaxBase->setToolTip(QStringLiteral("Max numeric base for literal numbers"));
    auto* numbers = new QFormLayout;
    numbers->addRow(QStringLiteral("Tab Size:"), fEditorTabSize);
    numbers->addRow(QStringLiteral("Max Numeric Base"), fMaxBase);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(fHighlighting);
    layout->addLayout(numbers);
    layout->addStretch();
    return page;
}

QWidget* TConfigTermForm::BlockFilePage()
{
    auto* page = new QWidget;
    auto* generate = new QGroupBox(QStringLiteral("[ Generate Block File ]"));
    auto* generateLayout = new QVBoxLayout(generate);
    fCompileStartsLine = Check("Start compiled words on a new line in block file",
                               "Compiled words should always start on a new screen line");
    fWordWrap = Check("Word wrap block file", "Word wrap text in block file on a screen line boundry");
    fSyncBlockFile = Check("Syncronize block file to code editor", "Create a block file each time the code editor is saved");
    generateLayout->addWidget(fCompileStartsLine);
    generateLayout->addWidget(fWordWrap);
    generateLayout->addWidget(fSyncBlockFile);
    QGroupBox* captions = Radios("[ Block File Captions ]",
                                 {Q(CaptionBlocksItems[0]), Q(CaptionBlocksItems[1]), Q(CaptionBlocksItems[2]),
                                  Q(CaptionBlocksItems[3])},
                                 fCaptionBlocks, this);
    generateLayout->addWidget(captions);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(generate);
    layout->addStretch();
    return page;
}

void TConfigTermForm::ControlsChanged(const TConfigTermControls& c)
{
    fShown = c;
    fBgColor->SetColor(c.BgColor);
    fTextColor->SetColor(c.TextColor);
    fColumns->setValue(c.DisplayColumns);
    fRows->setValue(c.DisplayRows);
    fPasteDelay->setValue(c.PasteLineDelay);
    fTabSize->setValue(c.DisplayTabSize);
    fAbortPaste->setChecked(c.AbortPasteOnForthError);
    fCrIsNewLine->setChecked(c.CrIsNewLine);
    fBackspaceErases->setChecked(c.BackspaceErases);

    // The list holds the ports found now; the text stays whatever the options name.
    fComPort->clear();
    for (const UnicodeString& port : ListSerialPorts()) fComPort->addItem(Q(port));
    fComPort->setEditText(Q(c.ComPortID));
    fBaudRate->setCurrentIndex(c.BaudRate);
    SetGroup(fParity, c.Parity);
    SetGroup(fDataBits, c.DataBits);
    SetGroup(fStopBits, c.StopBits);
    fDtr->setCurrentIndex(c.DtrControl);
    fRts->setCurrentIndex(c.RtsControl);
    fCtsFlow->setChecked(c.UseCtsFlow);
    fDsrFlow->setChecked(c.UseDsrFlow);
    fTxFlow->setChecked(c.UseTxXFlow);
    fRxFlow->setChecked(c.UseRxXFlow);
    fXon->setText(Q(c.XonChar));
    fXoff->setText(Q(c.XoffChar));

    fEditorBg->SetColor(c.EditorBgColor);
    const TColor words[6] = {c.EditorBaseWordColor, c.EditorCompiledWordColor, c.EditorNumericColor,
                             c.EditorStringColor,   c.EditorCommentColor,      c.EditorSymbolColor};
    for (std::size_t i = 0; i < fWordColors.size(); ++i) fWordColors[i]->SetColor(words[i]);
    fHighlighting->setChecked(c.EditorUseSyntaxHighlighting);
    fEditorTabSize->setValue(c.EditorTabSize);
    fMaxBase->setValue(c.EditorMaxNumericBase);

    fCompileStartsLine->setChecked(c.EditCompileStartsLine);
    fWordWrap->setChecked(c.EditWordWrapBlockFile);
    fSyncBlockFile->setChecked(c.EditSyncBlockFile);
    SetGroup(fCaptionBlocks, c.EditorCaptionBlocks);
    ShowSamples();
    ShowCtrlCodes();
}

void TConfigTermForm::ReadControls(TConfigTermControls& c)
{
    c = fShown;
    c.BgColor = fBgColor->Color();
    c.TextColor = fTextColor->Color();
    c.DisplayColumns = fColumns->value();
    c.DisplayRows = fRows->value();
    c.PasteLineDelay = fPasteDelay->value();
    c.DisplayTabSize = fTabSize->value();
    c.AbortPasteOnForthError = fAbortPaste->isChecked();
    c.CrIsNewLine = fCrIsNewLine->isChecked();
    c.BackspaceErases = fBackspaceErases->isChecked();

    c.ComPortID = fComPort->currentText().toStdU16String();
    c.BaudRate = fBaudRate->currentIndex();
    c.Parity = fParity->checkedId();
    c.DataBits = fDataBits->checkedId();
    c.StopBits = fStopBits->checkedId();
    c.DtrControl = fDtr->currentIndex();
    c.RtsControl = fRts->currentIndex();
    c.UseCtsFlow = fCtsFlow->isChecked();
    c.UseDsrFlow = fDsrFlow->isChecked();
    c.UseTxXFlow = fTxFlow->isChecked();
    c.UseRxXFlow = fRxFlow->isChecked();
    c.XonChar = fXon->text().toStdU16String();
    c.XoffChar = fXoff->text().toStdU16String();

    c.EditorBgColor = fEditorBg->Color();
    TColor* words[6] = {&c.EditorBaseWordColor, &c.EditorCompiledWordColor, &c.EditorNumericColor,
                        &c.EditorStringColor,   &c.EditorCommentColor,      &c.EditorSymbolColor};
    for (std::size_t i = 0; i < fWordColors.size(); ++i) *words[i] = fWordColors[i]->Color();
    c.EditorUseSyntaxHighlighting = fHighlighting->isChecked();
    c.EditorTabSize = fEditorTabSize->value();
    c.EditorMaxNumericBase = fMaxBase->value();

    c.EditCompileStartsLine = fCompileStartsLine->isChecked();
    c.EditWordWrapBlockFile = fWordWrap->isChecked();
    c.EditSyncBlockFile = fSyncBlockFile->isChecked();
    if (fCaptionBlocks->checkedId() >= 0) c.EditorCaptionBlocks = fCaptionBlocks->checkedId();
    fShown = c;
}

TModalResult TConfigTermForm::ShowModal()
{
    PlaceWindow(this, parentWidget());
    return exec() == QDialog::Accepted ? TModalResult::mrOk : TModalResult::mrCancel;
}

void TConfigTermForm::ShowSamples()
{
    SetBackground(fTextSample, fBgColor->Color());
    SetTextColor(fTextSample, fTextColor->Color());
    fTextSample->setFont(SampleFont(fShown.FontFace, fShown.FontSize));
    SetBackground(fEditorSample, fEditorBg->Color());
    const QFont editorFont = SampleFont(fShown.EditFontFace, fShown.EditFontSize);
    for (std::size_t i = 0; i < fWordSamples.size(); ++i) {
        SetTextColor(fWordSamples[i], fWordColors[i]->Color());
        fWordSamples[i]->setFont(editorFont);
    }
}

void TConfigTermForm::ShowCtrlCodes()
{
    for (std::size_t code = 0; code < fCtrlButtons.size(); ++code)
        fCtrlButtons[code]->setIcon(CtrlCodeImage(fShown.Obeyed.Contains(unsigned(code))));
}
