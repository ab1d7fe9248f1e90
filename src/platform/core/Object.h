#pragma once
// Root of the platform's class tree: every component, stream and list derives from TObject,
// so events can name their sender as a TObject*.
#include <functional>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
