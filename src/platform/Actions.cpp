#include "platform/Actions.h"

bool TAction::Execute()
{
    // A shortcut may come long after the last idle refresh: ask the state again first.
    Update();
    if (!Enabled || !OnExecute) return false;
    if (AutoCheck) Checked = !Checked;
    OnExecute(this);
    return true;
}

void TAction::Update()
{
    if (OnUpdate) OnUpdate(this);
}

TAction& TActionList::Add(TAction action)
{
    fActions.push_back(std::make_unique<TAction>(std::move(action)));
    return *fActions.back();
}

TAction* TActionList::Find(std::u16string_view name) const
{
    for (const auto& action : fActions)
        if (action->Name == name) return action.get();
    return nullptr;
}

void TActionList::UpdateActions()
{
    for (const auto& action : fActions)
        action->Update();
}

TAction* FindAction(const std::vector<TActionList*>& lists, std::u16string_view name)
{
    for (TActionList* list : lists)
        if (TAction* action = list->Find(name)) return action;
    return nullptr;
}
