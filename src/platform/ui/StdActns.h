#pragma once
// The standard edit commands as actions. Without a handler of their own they act on the focused
// control: a focused edit serves them here, other controls (the data grid) serve them through
// their ExecuteAction and UpdateAction. With nobody to serve them, and no handler of their own,
// they are disabled.
#include "platform/ui/ActnList.h"

class TCustomEdit;

class TEditAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
    // A focused edit.
    bool HandlesTarget(TObject* Target) override;
    // Acts on a focused edit; any other target (the client a button's link names) runs the
    // action as a whole.
    bool ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
    bool Update() override;

protected:
    const char* ClassName() const override { return "TEditAction"; }
    virtual void ActOn(TCustomEdit& Edit) = 0;
    virtual bool EnabledFor(const TCustomEdit& Edit) const = 0;
    // Whether the user may change the edit's text at all.
    static bool Writable(const TCustomEdit& Edit);
};

// Copies the selected text; enabled over a selection.
class TEditCopy : public TEditAction {
public:
    using TEditAction::TEditAction;

protected:
    const char* ClassName() const override { return "TEditCopy"; }
    void ActOn(TCustomEdit& Edit) override;
    bool EnabledFor(const TCustomEdit& Edit) const override;
};

// Cuts the selected text; enabled over a selection the edit may change.
class TEditCut : public TEditAction {
public:
    using TEditAction::TEditAction;

protected:
    const char* ClassName() const override { return "TEditCut"; }
    void ActOn(TCustomEdit& Edit) override;
    bool EnabledFor(const TCustomEdit& Edit) const override;
};

// Pastes the clipboard's text; enabled when there is text and the edit may change.
class TEditPaste : public TEditAction {
public:
    using TEditAction::TEditAction;

protected:
    const char* ClassName() const override { return "TEditPaste"; }
    void ActOn(TCustomEdit& Edit) override;
    bool EnabledFor(const TCustomEdit& Edit) const override;
};

// Selects the whole text; enabled while some of it is not selected.
class TEditSelectAll : public TEditAction {
public:
    using TEditAction::TEditAction;

protected:
    const char* ClassName() const override { return "TEditSelectAll"; }
    void ActOn(TCustomEdit& Edit) override;
    bool EnabledFor(const TCustomEdit& Edit) const override;
};

// Deletes the selected text; enabled over a selection the edit may change.
class TEditDelete : public TEditAction {
public:
    using TEditAction::TEditAction;

protected:
    const char* ClassName() const override { return "TEditDelete"; }
    void ActOn(TCustomEdit& Edit) override;
    bool EnabledFor(const TCustomEdit& Edit) const override;
};
