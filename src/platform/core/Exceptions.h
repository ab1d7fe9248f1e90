#pragma once
// The platform's exception hierarchy. Every error the system raises derives from Exception,
// which carries the message text the platform shows.
#include "platform/core/String.h"

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(String message) : FMessage(std::move(message)), FUtf8(FMessage.toStdString()) {}

    const String& Message() const { return FMessage; }
    void SetMessage(const String& value)
    {
        FMessage = value;
        FUtf8 = value.toStdString();
    }
    const char* what() const noexcept override { return FUtf8.c_str(); }

private:
    String FMessage;
    std::string FUtf8;
};

#define VELLOMAR_EXCEPTION(Name, Base)          \
    class Name : public Base {                  \
    public:                                     \
        using Base::Base;                       \
    };

VELLOMAR_EXCEPTION(EAbort, Exception)
VELLOMAR_EXCEPTION(EOutOfResources, Exception)
VELLOMAR_EXCEPTION(EConvertError, Exception)
VELLOMAR_EXCEPTION(EVariantError, Exception)
VELLOMAR_EXCEPTION(EMathError, Exception)
VELLOMAR_EXCEPTION(EZeroDivide, EMathError)
VELLOMAR_EXCEPTION(EOverflow, EMathError)
VELLOMAR_EXCEPTION(EInvalidOp, EMathError)
VELLOMAR_EXCEPTION(EStreamError, Exception)
VELLOMAR_EXCEPTION(EFCreateError, EStreamError)
VELLOMAR_EXCEPTION(EFOpenError, EStreamError)
VELLOMAR_EXCEPTION(EReadError, EStreamError)
VELLOMAR_EXCEPTION(EWriteError, EStreamError)
VELLOMAR_EXCEPTION(EOutOfMemory, Exception)
VELLOMAR_EXCEPTION(EInvalidOperation, Exception)
VELLOMAR_EXCEPTION(EInvalidPointer, Exception)
VELLOMAR_EXCEPTION(EListError, Exception)
VELLOMAR_EXCEPTION(EStringListError, Exception)
VELLOMAR_EXCEPTION(EComponentError, Exception)
VELLOMAR_EXCEPTION(EIniFileException, Exception)
VELLOMAR_EXCEPTION(EDatabaseError, Exception)
// A file refused as a database: another program's file, never written to.
VELLOMAR_EXCEPTION(EDatabaseFileRefused, EDatabaseError)
VELLOMAR_EXCEPTION(EOleException, Exception)

#undef VELLOMAR_EXCEPTION

// Raises EAbort with an empty message: the platform's silent exception, which unwinds
// without being reported.
[[noreturn]] inline void Abort() { throw EAbort(String()); }
