#pragma once
// TPageControl with its TTabSheet pages: a row of tabs (a Qt tab bar above the client area) and
// one page showing at a time. A sheet's OnShow fires whenever it becomes the page showing; the
// control's OnChanging and OnChange report the user's tab choices only.
#include "platform/ui/Controls.h"

#include <QPointer>

#include <memory>
#include <vector>

class QTabBar;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    // The position among the pages of the page control.
    int PageIndex() const;
    void SetPageIndex(int Value);
    // A hidden tab hides its page from the row; the page can still be made active in code.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // The position of the tab in the row; -1 without one.
    int TabIndex() const;

    void SetParent(TWinControl* AParent) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TTabSheet"; }

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<std::size_t>(Index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const { return FActivePage != nullptr ? FActivePage->PageIndex() : -1; }
    void SetActivePageIndex(int Value);
    // The active page's tab in the row of visible tabs.
    int TabIndex() const { return FActivePage != nullptr ? FActivePage->TabIndex() : -1; }
    void SetTabIndex(int Value);
    // The page after (or before) Current in page order, wrapping, optionally only visible tabs.
    TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const;
    // Moves to the next tab as Ctrl+Tab does, with OnChanging and OnChange.
    void SelectNextPage(bool GoForward);

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    // Asks OnChanging; true when the change may happen.
    virtual bool CanChange();
    virtual void Change();
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Dispatch(TMessage& Message) override;
    const char* ClassName() const override { return "TPageControl"; }

private:
    friend class TTabSheet;
    class TTabBarFilter;

    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void MovePage(TTabSheet* Page, int Index);
    // The user chose a tab: OnChanging may refuse, else the page changes and OnChange follows.
    void ChangeActivePageByUser(TTabSheet* Page);
    TTabSheet* PageOfTab(int TabIndex) const;
    // Shows the pages' captions and visibility in the tab bar.
    void UpdateTabs();
    void PaintBorder(HDC DC);
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void CreateWnd() override;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    QPointer<QTabBar> FTabBar;
    std::unique_ptr<TTabBarFilter> FTabBarFilter;
    int FTabHeight = 0;
};
