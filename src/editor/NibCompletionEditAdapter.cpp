#include "editor/NibCompletionEditAdapter.h"

TCustomNibEdit* CompletionEdit(TNibCompletionEditor* AEditor)
{
    auto* adapter = dynamic_cast<TNibCompletionEditAdapter*>(AEditor);
    return adapter ? &adapter->Edit() : nullptr;
}
