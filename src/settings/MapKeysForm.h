#pragma once
// The widgets of "Map Terminal Keys": the list of keys with their bindings in the chosen shift
// state, the binding edit with "Update", and "Load" and "Save". What they do is TMapTermKeys'.
#include <QDialog>
#include "settings/MapKeys.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPushButton;

class TMapTermKeysForm : public QDialog, public TMapTermKeysView {
public:
    /// Shows the keys' bindings and sets itself as their view while it exists.
    explicit TMapTermKeysForm(TMapTermKeys& keys, QWidget* parent = nullptr);
    ~TMapTermKeysForm() override;

    void ShowModal() override;
    /// Every close of the form writes the default key-map file.
    void done(int result) override;

    /// The shift state chosen in "Key State": 0 Normal, 1 Shift, 2 Ctrl.
    int KeyState() const;
    void SetKeyState(int state);
    /// Pixel width of the widest key caption plus 4: the caption cell of every row.
    int MaxLableWidth() const { return fMaxLableWidth; }

    QListWidget* ListBox1() const { return fList; }
    QLineEdit* Edit1() const { return fEdit; }
    QPushButton* UpdateKeysBtn() const { return fUpdate; }
    QPushButton* LoadKeyMapBtn() const { return fLoad; }
    QPushButton* SaveKeyMapBtn() const { return fSave; }

private:
    /// The row of the selected key, -1 when none is selected (a current row is not a choice).
    int SelectedKey() const;
    void ListBox1Click();
    void UpdateKeysBtnClick();
    void LoadKeyMapBtnClick();

    TMapTermKeys& fKeys;
    QListWidget* fList;
    QButtonGroup* fKeyState;
    QLineEdit* fEdit;
    QPushButton* fUpdate;
    QPushButton* fLoad;
    QPushButton* fSave;
    int fMaxLableWidth = 0;
};
