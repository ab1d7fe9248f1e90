// The interceptor registry, reading a stored description through it, and the form interceptor.
#include "controls/PropFilerEh.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Strings.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Types.h"

#include <vector>

namespace {

struct TInterceptorRegistry {
    std::vector<TInterceptedClassEh> TargetClasses;
    std::vector<TStoragePropertyInterceptorClass> InterceptorClasses;
};

// Made on first use with the unit's own registration, freed when the program ends.
TInterceptorRegistry& Registry()
{
    static TInterceptorRegistry registry{{TargetClass<TCustomForm>}, {InterceptorClass<TFormStoragePropertyInterceptor>}};
    return registry;
}

template <class TKeep>
void RemoveEntries(TInterceptorRegistry& Registry, TKeep Keep)
{
    for (auto i = Registry.TargetClasses.size(); i-- > 0;)
        if (!Keep(i)) {
            Registry.TargetClasses.erase(Registry.TargetClasses.begin() + static_cast<std::ptrdiff_t>(i));
            Registry.InterceptorClasses.erase(Registry.InterceptorClasses.begin() + static_cast<std::ptrdiff_t>(i));
        }
}

TCustomForm* AsForm(TObject* Object)
{
    return dynamic_cast<TCustomForm*>(Object);
}

// One bound of the form Target is; 0 when it is none.
int FormBound(TObject* Target, int (TControl::*Bound)() const)
{
    const TCustomForm* form = AsForm(Target);
    return form != nullptr ? (form->*Bound)() : 0;
}

}  // namespace

bool TStoragePropertyInterceptor::ReadProperty(const String&, const String&)
{
    return false;
}

void InstallReadPropertyInterceptor(TInterceptedClassEh ATargetClass, TStoragePropertyInterceptorClass AInterceptorClass)
{
    TInterceptorRegistry& registry = Registry();
    RemoveEntries(registry, [&](std::size_t I) { return registry.TargetClasses[I] != ATargetClass; });
    registry.TargetClasses.push_back(ATargetClass);
    registry.InterceptorClasses.push_back(AInterceptorClass);
}

void RemoveReadPropertyInterceptor(TInterceptedClassEh ATargetClass, TStoragePropertyInterceptorClass AInterceptorClass)
{
    TInterceptorRegistry& registry = Registry();
    RemoveEntries(registry, [&](std::size_t I) {
        return registry.TargetClasses[I] != ATargetClass || registry.InterceptorClasses[I] != AInterceptorClass;
    });
}

TStoragePropertyInterceptorClass FindReadPropertyInterceptor(const TObject* Target)
{
    const TInterceptorRegistry& registry = Registry();
    for (auto i = registry.TargetClasses.size(); i-- > 0;)
        if (registry.TargetClasses[i](Target))
            return registry.InterceptorClasses[i];
    return nullptr;
}

bool ReadInterceptedProperties(TObject* Target, const TStrings& Description)
{
    const TStoragePropertyInterceptorClass interceptorClass = FindReadPropertyInterceptor(Target);
    if (interceptorClass == nullptr)
        return false;
    const std::unique_ptr<TStoragePropertyInterceptor> interceptor = interceptorClass(Target);
    if (!interceptor->WantsInterception())
        return false;
    for (int i = 0; i < Description.Count(); ++i) {
        const String name = Description.Names(i).trimmed();
        if (!interceptor->ReadProperty(name, Description.ValueFromIndex(i).trimmed()))
            throw EReadError(QStringLiteral("Property %1 does not exist").arg(name));
    }
    interceptor->AfterPropertiesRead();
    return true;
}

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(TObject* Target)
    : TStoragePropertyInterceptor(Target), FPixelsPerInch(Screen->PixelsPerInch())
{
    if (const TCustomForm* form = AsForm(Target)) {
        FLeft = form->Left();
        FTop = form->Top();
        FWidth = form->Width();
        FHeight = form->Height();
        FActiveControl = form->ActiveControl();
    }
}

int TFormStoragePropertyInterceptor::Left() const { return FormBound(Target(), &TControl::Left); }

int TFormStoragePropertyInterceptor::Top() const { return FormBound(Target(), &TControl::Top); }

int TFormStoragePropertyInterceptor::Width() const { return FormBound(Target(), &TControl::Width); }

int TFormStoragePropertyInterceptor::Height() const { return FormBound(Target(), &TControl::Height); }

void TFormStoragePropertyInterceptor::SetLeft(int Value)
{
    FLeft = Value;
    FPositionRead = true;
}

void TFormStoragePropertyInterceptor::SetTop(int Value)
{
    FTop = Value;
    FPositionRead = true;
}

bool TFormStoragePropertyInterceptor::ReadProperty(const String& Name, const String& Value)
{
    const auto is = [&Name](const char* Published) { return Name.compare(QLatin1String(Published), Qt::CaseInsensitive) == 0; };
    if (is("Left"))
        SetLeft(StrToInt(Value));
    else if (is("Top"))
        SetTop(StrToInt(Value));
    else if (is("Width"))
        SetWidth(StrToInt(Value));
    else if (is("Height"))
        SetHeight(StrToInt(Value));
    else if (is("PixelsPerInch"))
        SetPixelsPerInch(StrToInt(Value));
    else if (is("ActiveControl")) {
        // A reference to a control of the form by name; one the form does not have stays empty.
        const TCustomForm* form = AsForm(Target());
        SetActiveControl(form != nullptr ? dynamic_cast<TWinControl*>(form->FindComponent(Value)) : nullptr);
    } else
        return false;
    return true;
}

void TFormStoragePropertyInterceptor::AfterPropertiesRead()
{
    // A stored density of 0 or less would scale the placement to -1 (MulDiv's answer): keep it.
    if (FPixelsPerInch > 0) {
        const int screen = Screen->PixelsPerInch();
        FLeft = MulDiv(FLeft, screen, FPixelsPerInch);
        FTop = MulDiv(FTop, screen, FPixelsPerInch);
        FWidth = MulDiv(FWidth, screen, FPixelsPerInch);
        FHeight = MulDiv(FHeight, screen, FPixelsPerInch);
    }
    TCustomForm* form = AsForm(Target());
    if (form == nullptr)
        return;
    // Only a control that can take the focus now can be made active; restoring settings raises nothing.
    if (FActiveControl != nullptr && FActiveControl->CanFocus())
        form->SetActiveControl(FActiveControl);
    form->SetBounds(FLeft, FTop, FWidth, FHeight);
    if (FPositionRead && (form->Position() == TPosition::poScreenCenter || form->Position() == TPosition::poDesktopCenter))
        form->SetPosition(TPosition::poDesigned);
}
