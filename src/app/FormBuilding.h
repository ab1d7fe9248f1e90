#pragma once
// Small builders for the windows' descriptions: each makes one component, names it as the
// designer did, and places it, the way a stored description would.
#include "platform/ui/Controls.h"
#include "platform/ui/PageControl.h"

template <class TControlClass>
TControlClass* Place(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height)
{
    auto* control = new TControlClass(Owner);
    if (Name != nullptr)
        control->SetName(String::fromUtf8(Name));
    control->SetParent(Parent);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

inline TTabSheet* AddTabSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption)
{
    auto* page = new TTabSheet(Owner);
    page->SetName(String::fromUtf8(Name));
    page->SetPageControl(Pages);
    page->SetCaption(String::fromUtf8(Caption));
    return page;
}
