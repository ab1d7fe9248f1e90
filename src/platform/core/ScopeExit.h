#pragma once
// TScopeExit: runs an action when the scope that holds it ends, by return or by exception.
#include <utility>

template <class TAction>
class TScopeExit {
public:
    explicit TScopeExit(TAction Action) : FAction(std::move(Action)) {}
    TScopeExit(const TScopeExit&) = delete;
    TScopeExit& operator=(const TScopeExit&) = delete;
    ~TScopeExit() { FAction(); }

private:
    TAction FAction;
};
