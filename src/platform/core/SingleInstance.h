#pragma once
// One running instance of a program per user. The first instance listens on a local socket
// named after the program and the user's id; a later start of the same user finds it there,
// asks it to come to the front and ends.
#include "platform/core/String.h"

#include <functional>
#include <memory>

class QLocalServer;

// The running instance: later starts reach it while it lives.
class TRunningInstance {
public:
    explicit TRunningInstance(std::unique_ptr<QLocalServer> Server);
    ~TRunningInstance();
    TRunningInstance(const TRunningInstance&) = delete;
    TRunningInstance& operator=(const TRunningInstance&) = delete;

    // False when the name could not be taken: later starts then run beside this one.
    bool Listening() const;

private:
    std::unique_ptr<QLocalServer> FServer;
};

// The socket name the instance of Program listens under, in the folder of temporary files.
String RunningInstanceName(const String& Program);
// True when an instance of Program already runs; it has been asked to come to the front.
bool ActivateRunningInstance(const String& Program);
// Makes this the running instance of Program; each later start runs OnLaterStart. Answers
// nullptr when an instance already runs, which has been asked to come to the front. A name left
// behind by an instance that crashed is taken over.
std::unique_ptr<TRunningInstance> ClaimSingleInstance(const String& Program, std::function<void()> OnLaterStart);
