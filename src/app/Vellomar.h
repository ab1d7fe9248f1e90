#pragma once
// Unit Vellomar: the program entry and its single-instance rule. The first instance listens
// under the main window's class name and the user's id; a later start of the same user finds it
// there, asks it to come to the front and ends before it makes a window or opens the database.
#include "platform/core/String.h"

#include <QLocalServer>

#include <functional>
#include <memory>

// The name the instance of the main window class WindowClass listens under.
String InstanceServerName(const String& WindowClass);
// True when an instance already runs; it has been asked to come to the front.
bool ActivateRunningInstance(const String& WindowClass);
// Makes this the running instance: listens for later starts while the server lives, and each
// one runs Activate. Answers nullptr when an instance already runs, which has been asked to come
// to the front. A name left behind by an instance that crashed is taken over.
std::unique_ptr<QLocalServer> ListenForLaterStarts(const String& WindowClass, std::function<void()> Activate);
