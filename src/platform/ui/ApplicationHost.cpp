// The toolkit's application object beneath the platform's Application.
#include "platform/ui/ApplicationHost.h"

#include <QApplication>

TApplicationHost::TApplicationHost(int& Argc, char** Argv) : FApplication(std::make_unique<QApplication>(Argc, Argv)) {}

TApplicationHost::~TApplicationHost() = default;
