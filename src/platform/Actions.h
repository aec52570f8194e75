#pragma once
// User commands in the manner of the form library's actions: each has a name, a category, a
// caption, a hint, a shortcut, an image, an enabled state and Execute and Update handlers. Menus
// and tool bars show actions; action lists group them.
#include <functional>
#include <memory>
#include <vector>
#include "platform/Events.h"
#include "platform/Text.h"

class TAction : public TObject {
public:
    UnicodeString Name;
    UnicodeString Category;
    UnicodeString Caption;
    UnicodeString Hint;
    /// The key chord in the portable text form ("Ctrl+F", "F3"); empty for none.
    UnicodeString ShortCut;
    /// The image shown beside the caption, by its name in the desktop's icon naming
    /// ("document-open", "edit-undo"); empty for none.
    UnicodeString ImageName;
    bool Enabled = true;
    /// The check mark shown beside the caption.
    bool Checked = false;
    /// Executing toggles Checked before OnExecute runs.
    bool AutoCheck = false;
    /// Runs the command.
    TNotifyEvent OnExecute;
    /// Sets Enabled (and anything else shown) from the program's state; none means always enabled.
    TNotifyEvent OnUpdate;

    /// Updates the action, then runs OnExecute when it is enabled; true when it ran.
    bool Execute();
    /// Runs OnUpdate, if any.
    void Update();
};

/// A named group of actions, owned by the list, in the order they were added.
class TActionList : public TObject {
public:
    explicit TActionList(UnicodeString name) : fName(std::move(name)) {}

    const UnicodeString& Name() const { return fName; }
    /// Adds an action and returns it.
    TAction& Add(TAction action);
    /// Nothing when no action has that name.
    TAction* Find(std::u16string_view name) const;
    const std::vector<std::unique_ptr<TAction>>& Actions() const { return fActions; }
    /// Runs every action's Update handler, as the form library does when the program is idle.
    void UpdateActions();

private:
    UnicodeString fName;
    std::vector<std::unique_ptr<TAction>> fActions;
};

/// Looks an action up by name in several lists.
TAction* FindAction(const std::vector<TActionList*>& lists, std::u16string_view name);
