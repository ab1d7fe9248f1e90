#pragma once
// A call run by the event loop once what is pending now has been handled: for a report that
// must not open a modal loop in the middle of the event that found it.
#include <functional>

void QueueCall(std::function<void()> Call);
