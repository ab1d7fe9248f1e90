#pragma once
// PropFilerEh: interceptors that stand in for an object while its stored properties are read.
// A registry pairs target classes with interceptor classes. Reading a stored description of a
// target whose class has an interceptor lands the values in the interceptor's published
// properties; the interceptor then applies them to the target in its own way. Forms have one
// from the start: their stored placement is rescaled to the screen's pixel density.
#include "platform/core/Persistent.h"
#include "platform/core/String.h"

#include <memory>

class TStrings;
class TWinControl;

class TStoragePropertyInterceptor : public TPersistent {
public:
    explicit TStoragePropertyInterceptor(TObject* Target) : FTarget(Target) {}

    TObject* Target() const { return FTarget; }
    virtual bool WantsInterception() { return true; }
    // Applies what was read to the target.
    virtual void AfterPropertiesRead() {}
    // Takes the stored value of one published property; false when it publishes no such name.
    virtual bool ReadProperty(const String& Name, const String& Value);

protected:
    const char* ClassName() const override { return "TStoragePropertyInterceptor"; }

private:
    TObject* FTarget;
};

// Class references as the registry keeps them, compared by identity. A target class tells
// whether an object is of it (descendants included); an interceptor class is the interceptor's
// constructor.
using TInterceptedClassEh = bool (*)(const TObject* Object);
using TStoragePropertyInterceptorClass = std::unique_ptr<TStoragePropertyInterceptor> (*)(TObject* Target);

template <class T>
bool TargetClass(const TObject* Object)
{
    return dynamic_cast<const T*>(Object) != nullptr;
}

template <class T>
std::unique_ptr<TStoragePropertyInterceptor> InterceptorClass(TObject* Target)
{
    return std::make_unique<T>(Target);
}

// Pairs ATargetClass with AInterceptorClass; an earlier pairing of ATargetClass is replaced.
void InstallReadPropertyInterceptor(TInterceptedClassEh ATargetClass, TStoragePropertyInterceptorClass AInterceptorClass);
// Removes every pairing of exactly these two classes.
void RemoveReadPropertyInterceptor(TInterceptedClassEh ATargetClass, TStoragePropertyInterceptorClass AInterceptorClass);
// The interceptor class of the latest pairing whose target class Target is of; nullptr when none.
TStoragePropertyInterceptorClass FindReadPropertyInterceptor(const TObject* Target);

// Reads a stored description of Target's properties, one "Name=Value" line each, through the
// interceptor of Target's class. False, with nothing read, when there is none or it does not
// want to intercept. A name the interceptor does not publish raises EReadError.
bool ReadInterceptedProperties(TObject* Target, const TStrings& Description);

// Stands in for a form: its placement, pixel density and active control.
class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor {
public:
    explicit TFormStoragePropertyInterceptor(TObject* Target);

    // The placement reads the target form's (0 without a form); writing keeps the stored value.
    int Left() const;
    void SetLeft(int Value);
    int Top() const;
    void SetTop(int Value);
    int Width() const;
    void SetWidth(int Value) { FWidth = Value; }
    int Height() const;
    void SetHeight(int Value) { FHeight = Value; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }

    bool ReadProperty(const String& Name, const String& Value) override;
    // Rescales the placement from the stored density to the screen's and applies it.
    void AfterPropertiesRead() override;

protected:
    const char* ClassName() const override { return "TFormStoragePropertyInterceptor"; }

private:
    TWinControl* FActiveControl = nullptr;
    int FHeight = 0;
    int FLeft = 0;
    int FPixelsPerInch = 0;
    int FTop = 0;
    int FWidth = 0;
    // Left or Top was read: the stored place is kept.
    bool FPositionRead = false;
};
