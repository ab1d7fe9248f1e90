#pragma once
// The message of the platform exception an action raises, for tests of exact error texts.
#include "platform/core/Exceptions.h"

#include <QString>

#include <functional>

// Empty when Action raises nothing.
inline QString ExceptionText(const std::function<void()>& Action)
{
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return {};
}
