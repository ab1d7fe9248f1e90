#pragma once
// A call run by the event loop once what is pending now has been handled: posted messages, a
// menu's close report, a report that must not open a modal loop inside the event that found it.
#include <functional>

void QueueCall(std::function<void()> Call);
