#pragma once
// TStatusBar: a bar along the bottom of a form divided into panels of given widths, or one
// simple panel showing SimpleText. The last panel takes the rest of the bar.
#include "platform/core/Alignment.h"
#include "platform/core/Collection.h"
#include "platform/ui/Controls.h"

class TStatusBar;

enum class TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

    const String& Text() const { return FText; }
    void SetText(const String& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    // psOwnerDraw panels are painted by the bar's OnDrawPanel.
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);

    void Assign(TPersistent* Source) override;

protected:
    const char* ClassName() const override { return "TStatusPanel"; }

private:
    String FText;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    TStatusPanelStyle FStyle = TStatusPanelStyle::psText;
};

class TStatusPanels : public TCollection {
public:
    explicit TStatusPanels(TStatusBar* StatusBar);

    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }

protected:
    void Update(TCollectionItem* Item) override;
    TPersistent* GetOwner() override;
    const char* ClassName() const override { return "TStatusPanels"; }

private:
    TStatusBar* FStatusBar;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;

class TStatusBar : public TCustomControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return FPanels.get(); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const String& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& Value);
    // Where panel Index lies in the bar (client coordinates).
    TRect PanelRect(int Index) const;

    TDrawPanelEvent OnDrawPanel;

protected:
    void Paint() override;
    const char* ClassName() const override { return "TStatusBar"; }

private:
    void DrawPanelText(const String& Text, TRect Rect, TAlignment Alignment);

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    String FSimpleText;
};
