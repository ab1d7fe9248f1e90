// TPageControl: a QTabBar in the non-client top of a self-painted window whose client area holds
// the pages. The tab bar never changes the page by itself: its presses come here first.
#include "platform/ui/PageControl.h"

#include "platform/ui/WindowHost.h"

#include <QMouseEvent>
#include <QTabBar>

#include <algorithm>

namespace {

// The frame between the tab row and the pages, and around the pages.
constexpr int BorderWidth = 2;

}  // namespace

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetColor(clBtnFace);
    // Only the active page shows.
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

void TTabSheet::SetParent(TWinControl* AParent)
{
    if (AParent == Parent())
        return;
    if (FPageControl != nullptr)
        FPageControl->RemovePage(this);
    TWinControl::SetParent(AParent);
    if (auto* pageControl = dynamic_cast<TPageControl*>(AParent))
        pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (FPageControl == nullptr)
        return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value)
{
    if (FPageControl != nullptr)
        FPageControl->MovePage(this, Value);
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (Value == FTabVisible)
        return;
    FTabVisible = Value;
    if (FPageControl != nullptr)
        FPageControl->UpdateTabs();
}

int TTabSheet::TabIndex() const
{
    if (FPageControl == nullptr || !FTabVisible)
        return -1;
    int index = 0;
    for (const TTabSheet* page : FPageControl->FPages) {
        if (page == this)
            return index;
        index += page->FTabVisible ? 1 : 0;
    }
    return -1;
}

void TTabSheet::Dispatch(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        if (FPageControl != nullptr)
            FPageControl->UpdateTabs();
        break;
    case CM_SHOWINGCHANGED:
        if (Showing() && OnShow)
            OnShow(this);
        else if (!Showing() && OnHide)
            OnHide(this);
        break;
    default: break;
    }
}

// Takes the tab bar's presses: a press on another tab asks the page control to change pages.
class TPageControl::TTabBarFilter : public QObject {
public:
    explicit TTabBarFilter(TPageControl& Owner) : FOwner(Owner) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* mouse = static_cast<QMouseEvent*>(Event);
            const int tab = static_cast<QTabBar*>(Watched)->tabAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && tab >= 0)
                CallGuarded(&FOwner, [this, tab] {
                    if (FOwner.CanFocus() && !FOwner.Focused())
                        FOwner.SetFocus();
                    if (TTabSheet* page = FOwner.PageOfTab(tab); page != FOwner.ActivePage())
                        FOwner.ChangeActivePageByUser(page);
                });
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel: return true;
        default: return false;
        }
    }

private:
    TPageControl& FOwner;
};

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetControlStyle(ControlStyle() | csNeedsBorderPaint);
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl()
{
    // The pages go with the children; they need not leave one by one.
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
    FPages.clear();
    FActivePage = nullptr;
}

QWidget* TPageControl::CreateWindowHandle(const TCreateParams& Params)
{
    QWidget* widget = TWinControl::CreateWindowHandle(Params);
    // The tabs are measured below, before the window layer gives the window its font.
    widget->setFont(Font()->Handle());
    FTabBar = new QTabBar(widget);
    FTabBar->setFocusPolicy(Qt::NoFocus);
    FTabBar->setDrawBase(false);
    // Tabs are as wide as their captions, as on the platform, not spread over the row.
    FTabBar->setExpanding(false);
    // The row keeps the height of one tab even while there are none.
    FTabBar->addTab(QStringLiteral("0"));
    FTabHeight = FTabBar->sizeHint().height();
    FTabBar->removeTab(0);
    FTabBarFilter = std::make_unique<TTabBarFilter>(*this);
    FTabBar->installEventFilter(FTabBarFilter.get());
    UpdateTabs();
    return widget;
}

void TPageControl::CreateWnd()
{
    TWinControl::CreateWnd();
    // The client area is known now: below the tabs, inside the border.
    Realign();
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    UpdateTabs();
    Realign();
    if (FActivePage == nullptr)
        SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, false) : FActivePage;
    if (FActivePage == Page)
        SetActivePage(next != Page ? next : nullptr);
    FPages.erase(std::find(FPages.begin(), FPages.end(), Page));
    Page->FPageControl = nullptr;
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* Page, int Index)
{
    FPages.erase(std::find(FPages.begin(), FPages.end(), Page));
    const int at = std::clamp(Index, 0, static_cast<int>(FPages.size()));
    FPages.insert(FPages.begin() + at, Page);
    UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page == FActivePage || (Page != nullptr && Page->FPageControl != this))
        return;
    TTabSheet* old = FActivePage;
    FActivePage = Page;
    // The new page shows before the old one hides, so each sees its own OnShow and OnHide.
    if (Page != nullptr) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    if (old != nullptr)
        old->SetVisible(false);
    if (FTabBar) {
        const QSignalBlocker quiet(FTabBar);
        FTabBar->setCurrentIndex(TabIndex());
    }
}

void TPageControl::SetActivePageIndex(int Value)
{
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[static_cast<std::size_t>(Value)] : nullptr);
}

void TPageControl::SetTabIndex(int Value)
{
    if (TTabSheet* page = PageOfTab(Value))
        SetActivePage(page);
}

TTabSheet* TPageControl::PageOfTab(int TabIndex) const
{
    for (TTabSheet* page : FPages)
        if (page->TabIndex() == TabIndex)
            return page;
    return nullptr;
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const
{
    if (FPages.empty())
        return nullptr;
    const int count = PageCount();
    int start = Current != nullptr ? Current->PageIndex() : -1;
    if (start < 0 || start >= count)
        start = GoForward ? count - 1 : 0;
    int i = start;
    do {
        i = GoForward ? (i + 1) % count : (i + count - 1) % count;
        TTabSheet* page = FPages[static_cast<std::size_t>(i)];
        if (!CheckTabVisible || page->TabVisible())
            return page;
    } while (i != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward)
{
    TTabSheet* page = FindNextPage(FActivePage, GoForward, true);
    if (page != nullptr && page != FActivePage)
        ChangeActivePageByUser(page);
}

void TPageControl::ChangeActivePageByUser(TTabSheet* Page)
{
    if (!CanChange())
        return;
    SetActivePage(Page);
    Change();
}

bool TPageControl::CanChange()
{
    bool allow = true;
    if (OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TPageControl::Change()
{
    if (OnChange)
        OnChange(this);
}

void TPageControl::UpdateTabs()
{
    if (!FTabBar)
        return;
    const QSignalBlocker quiet(FTabBar);
    while (FTabBar->count() > 0)
        FTabBar->removeTab(0);
    for (TTabSheet* page : FPages)
        if (page->TabVisible())
            FTabBar->addTab(page->Caption());
    FTabBar->setCurrentIndex(TabIndex());
}

void TPageControl::AlignControls(TControl* AControl, TRect& Rect)
{
    for (TTabSheet* page : FPages)
        page->SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    TWinControl::AlignControls(AControl, Rect);
}

void TPageControl::KeyDown(WORD& Key, TShiftState Shift)
{
    TWinControl::KeyDown(Key, Shift);
    if (Key == VK_LEFT || Key == VK_RIGHT) {
        SelectNextPage(Key == VK_RIGHT);
        Key = 0;
    }
}

void TPageControl::PaintBorder(HDC DC)
{
    TCanvas canvas;
    canvas.BeginPaint(DC);
    const TRect window = Rect(0, 0, Width(), Height());
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(window);
    TRect frame = Rect(0, FTabHeight, Width(), Height());
    canvas.DrawEdge(frame, EDGE_RAISED, BF_RECT);
    canvas.EndPaint();
}

void TPageControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE: {
        auto& area = *reinterpret_cast<TRect*>(Message.LParam);
        if (FTabBar)
            FTabBar->setGeometry(area.Left, area.Top, area.Width(), FTabHeight);
        area.Top += FTabHeight;
        area.Inflate(-BorderWidth, -BorderWidth);
        return;
    }
    case WM_NCPAINT: PaintBorder(reinterpret_cast<HDC>(Message.WParam)); return;
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    default: TWinControl::Dispatch(Message); return;
    }
}
