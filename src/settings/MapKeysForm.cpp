#include "settings/MapKeysForm.h"

#include <algorithm>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include "platform/qt/QtColor.h"
#include "platform/qt/QtWindowPlacement.h"

namespace {

QString Q(const UnicodeString& s) { return QString::fromStdU16String(s); }

constexpr TColor clSkyBlue = 0xF0CAA6;

/// Draws a row: the caption cell on sky-blue, then the stored caret text on money-green (on
/// sky-blue too when the row is selected); texts 2 pixels right and down of their cells' corners.
class KeyRowDelegate : public QStyledItemDelegate {
public:
    KeyRowDelegate(TMapTermKeys& keys, const TMapTermKeysForm& form)
        : QStyledItemDelegate(nullptr), fKeys(keys), fForm(form)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        int key = index.row();
        int state = fForm.KeyState();
        QRect row = option.rect;
        QRect caption = row;
        caption.setWidth(std::min(fForm.MaxLableWidth(), row.width()));
        QRect binding = row;
        binding.setLeft(caption.right() + 1);
        bool selected = option.state & QStyle::State_Selected;

        painter->save();
        painter->setFont(option.font);
        painter->fillRect(caption, ToQColor(clSkyBlue));
        painter->fillRect(binding, ToQColor(selected ? clSkyBlue : clMoneyGreen));
        painter->setPen(Qt::black);
        int baseline = row.top() + 2 + option.fontMetrics.ascent();
        painter->setClipRect(caption);
        painter->drawText(caption.left() + 2, baseline, Q(TMapTermKeys::KeyCaption(key, state)));
        painter->setClipRect(binding);
        painter->drawText(binding.left() + 2, baseline, Q(fKeys.GetKeyMapping(key, state)));
        painter->restore();
    }

private:
    TMapTermKeys& fKeys;
    const TMapTermKeysForm& fForm;
};

QPushButton* HintedButton(const QString& caption, const QString& hint)
{
    auto* button = new QPushButton(caption);
    button->setToolTip(hint);
    // Enter in the binding edit must not load or save a file.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TMapTermKeysForm::TMapTermKeysForm(TMapTermKeys& keys, QWidget* parent)
    : QDialog(parent), fKeys(keys), fList(new QListWidget), fKeyState(new QButtonGroup(this)), fEdit(new QLineEdit),
      fUpdate(HintedButton(QStringLiteral("Update"), QStringLiteral("Update selected key mapping"))),
      fLoad(HintedButton(QStringLiteral("Load"), QStringLiteral("Load a key mappings from a saved key map file"))),
      fSave(HintedButton(QStringLiteral("Save"), QStringLiteral("Save cuurent key mappings to a key map file")))
{
    setWindowTitle(QStringLiteral("Map Terminal Keys"));
    resize(420, 520);

    QFontMetrics metrics = fList->fontMetrics();
    for (int key = 0; key < MapKeyCount; ++key)
        for (int state = 0; state < MapKeyStateCount; ++state)
            fMaxLableWidth =
                std::max(fMaxLableWidth, metrics.horizontalAdvance(Q(TMapTermKeys::KeyCaption(key, state))));
    fMaxLableWidth += 4;
    int itemHeight = metrics.boundingRect(QStringLiteral("ÂÉjgpqy|")).height() + 4;
    for (int key = 0; key < MapKeyCount; ++key) {
        auto* item = new QListWidgetItem(fList);
        item->setSizeHint(QSize(0, itemHeight));
    }
    fList->setItemDelegate(new KeyRowDelegate(fKeys, *this));
    fList->itemDelegate()->setParent(fList);
    fList->setUniformItemSizes(true);

    auto* stateBox = new QGroupBox(QStringLiteral("[ Key State ]"));
    auto* stateRow = new QHBoxLayout(stateBox);
    const QString stateCaptions[MapKeyStateCount] = {QStringLiteral("Normal"), QStringLiteral("Shift"),
                                                     QStringLiteral("Ctrl")};
    for (int state = 0; state < MapKeyStateCount; ++state) {
        auto* radio = new QRadioButton(stateCaptions[state]);
        fKeyState->addButton(radio, state);
        stateRow->addWidget(radio);
    }
    fKeyState->button(0)->setChecked(true);

    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(fLoad);
    fileButtons->addWidget(fSave);
    auto* stateLine = new QHBoxLayout;
    stateLine->addWidget(stateBox, 1);
    stateLine->addLayout(fileButtons);

    auto* mappingBox = new QGroupBox(QStringLiteral("[ Key Mapping String ]"));
    auto* mappingRow = new QHBoxLayout(mappingBox);
    mappingRow->addWidget(fEdit, 1);
    mappingRow->addWidget(fUpdate);

    auto* page = new QVBoxLayout(this);
    page->addWidget(fList, 1);
    page->addLayout(stateLine);
    page->addWidget(mappingBox);

    connect(fList, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(fKeyState, &QButtonGroup::idClicked, this, [this] { fList->viewport()->update(); });
    connect(fUpdate, &QPushButton::clicked, this, [this] { UpdateKeysBtnClick(); });
    connect(fLoad, &QPushButton::clicked, this, [this] { LoadKeyMapBtnClick(); });
    connect(fSave, &QPushButton::clicked, this, [this] { fKeys.SaveKeyMapClick(); });
    fKeys.SetView(this);
}

TMapTermKeysForm::~TMapTermKeysForm() { fKeys.SetView(nullptr); }

void TMapTermKeysForm::ShowModal()
{
    PlaceWindow(this, parentWidget());
    exec();
}

void TMapTermKeysForm::done(int result)
{
    fKeys.CloseQuery();
    QDialog::done(result);
}

int TMapTermKeysForm::KeyState() const { return std::max(fKeyState->checkedId(), 0); }

void TMapTermKeysForm::SetKeyState(int state)
{
    if (QAbstractButton* button = fKeyState->button(state)) button->setChecked(true);
    fList->viewport()->update();
}

int TMapTermKeysForm::SelectedKey() const
{
    QList<QListWidgetItem*> selected = fList->selectedItems();
    return selected.isEmpty() ? -1 : fList->row(selected.first());
}

void TMapTermKeysForm::ListBox1Click() { fEdit->setText(Q(fKeys.GetKeyMapping(SelectedKey(), KeyState()))); }

void TMapTermKeysForm::UpdateKeysBtnClick()
{
    UnicodeString text = fEdit->text().toStdU16String();
    if (!fKeys.UpdateKeyMapping(SelectedKey(), KeyState(), text)) return;
    fEdit->setText(Q(text));
    fList->viewport()->update();
}

void TMapTermKeysForm::LoadKeyMapBtnClick()
{
    if (fKeys.LoadKeyMapClick()) fList->viewport()->update();
}
