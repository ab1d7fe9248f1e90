#pragma once
// The standard edit commands as actions. Without a handler of their own they act on the focused
// control: a focused edit serves them here, other controls (the data grid) serve them through
// their ExecuteAction and UpdateAction.
#include "platform/ui/ActnList.h"

class TCustomEdit;

class TEditAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    // A focused edit.
    bool HandlesTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditAction"; }
    // Target as the edit it is, once HandlesTarget took it.
    static TCustomEdit* Edit(TObject* Target);
    // Whether the user may change the edit's text at all.
    static bool Writable(TObject* Target);
};

// Copies the selected text; enabled over a selection.
class TEditCopy : public TEditAction {
public:
    using TEditAction::TEditAction;
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditCopy"; }
};

// Cuts the selected text; enabled over a selection the edit may change.
class TEditCut : public TEditAction {
public:
    using TEditAction::TEditAction;
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditCut"; }
};

// Pastes the clipboard's text; enabled when there is text and the edit may change.
class TEditPaste : public TEditAction {
public:
    using TEditAction::TEditAction;
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditPaste"; }
};

// Selects the whole text; enabled while some of it is not selected.
class TEditSelectAll : public TEditAction {
public:
    using TEditAction::TEditAction;
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditSelectAll"; }
};

// Deletes the selected text; enabled over a selection the edit may change.
class TEditDelete : public TEditAction {
public:
    using TEditAction::TEditAction;
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;

protected:
    const char* ClassName() const override { return "TEditDelete"; }
};
