// Program entry. One instance per user: a later start of the same user asks the running instance
// to come to the front and ends before it makes a window or opens the database. Then the main,
// settings and backup windows, in that order, until the main window closes; they are destroyed
// in the reverse order.
#include "app/FreeMemory.h"
#include "app/backup.h"
#include "app/orecord.h"
#include "app/sys.h"
#include "platform/core/SingleInstance.h"
#include "platform/ui/ApplicationHost.h"

int main(int argc, char** argv)
{
    TApplicationHost host(argc, argv);
    // The instance is known by its main window's class.
    const auto instance = ClaimSingleInstance(QStringLiteral("TMF1"), [] {
        Application->Restore();
        Application->BringToFront();
    });
    if (!instance)
        return 0;
    InitializeFreeMemory();
    Application->Initialize();
    int exitCode = 0;
    try {
        Application->CreateForm(MF1);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        Application->Run();
    } catch (...) {
        // What the platform does with a failure while the windows load: report it and end.
        Application->HandleException(Application);
        exitCode = 1;
    }
    Application->DestroyForms();
    FinalizeFreeMemory();
    return exitCode;
}
