#pragma once
// Actions: a component that several clients (buttons, menu items) follow. The action tells its
// links when its properties change; each link passes the change on to its client. Destroying an
// action unlinks its clients, so no link keeps a dangling action.
#include "platform/core/Component.h"
#include "platform/core/String.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <vector>

class TBasicActionLink;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; without one the action is offered to the focused control, then to its
    // form. False when nobody served it.
    virtual bool Execute();
    // Acts on Target; the base action has nothing target-specific and runs Execute.
    virtual bool ExecuteTarget(TObject* Target);
    // Runs OnUpdate, where the owner sets the action's state; without one the focused control,
    // then its form, may set it. False when nobody did.
    virtual bool Update();
    // Whether the action can act on Target by itself (a standard action on its kind of control).
    virtual bool HandlesTarget(TObject* Target) { return false; }
    // Sets the action's state from Target, which it handles.
    virtual void UpdateTarget(TObject* Target) {}

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    // Tells every link that the action changed.
    void Change();
    const char* ClassName() const override { return "TBasicAction"; }

    // Calls Fn with each link following the action, in order of linking; a link may unlink
    // itself or another meanwhile.
    template <class TFn>
    void ForEachClient(TFn Fn)
    {
        const std::vector<TBasicActionLink*> clients = FClients;
        for (TBasicActionLink* link : clients)
            if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
                Fn(*link);
    }

private:
    friend class TBasicActionLink;

    std::vector<TBasicActionLink*> FClients;
};

// The properties a client takes from an action.
class TCustomAction : public TBasicAction {
public:
    explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    const String& Hint() const { return FHint; }
    void SetHint(const String& Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

protected:
    const char* ClassName() const override { return "TCustomAction"; }

private:
    // Calls Apply with each TActionLink following the action.
    template <class TApply>
    void TellLinks(TApply Apply);

    bool FEnabled = true;
    String FHint;
    TShortCut FShortCut = scNone;
    bool FVisible = true;
};

// A client's tie to one action.
class TBasicActionLink {
public:
    TBasicActionLink() = default;
    virtual ~TBasicActionLink();
    TBasicActionLink(const TBasicActionLink&) = delete;
    TBasicActionLink& operator=(const TBasicActionLink&) = delete;

    TBasicAction* Action() const { return FAction; }
    // Follows Value (nullptr: none) instead of the current action.
    void SetAction(TBasicAction* Value);

    // Executes the action on Target; false without an action.
    bool Execute(TObject* Target);
    bool Update();

    // Called when the action changes.
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    friend class TBasicAction;

    TBasicAction* FAction = nullptr;
};

// A link that passes the action's Enabled, Hint, ShortCut and Visible on to its client while
// they are linked.
class TActionLink : public TBasicActionLink {
public:
    // True while the action is a TCustomAction; descendants narrow it to the client's state.
    virtual bool IsEnabledLinked() const;
    virtual bool IsHintLinked() const;
    virtual bool IsShortCutLinked() const;
    virtual bool IsVisibleLinked() const;

    // Called by the action when the property changes; the client's part is the descendant's.
    virtual void SetEnabled(bool Value) {}
    virtual void SetHint(const String& Value) {}
    virtual void SetShortCut(TShortCut Value) {}
    virtual void SetVisible(bool Value) {}

protected:
    TCustomAction* CustomAction() const;
};
