// Program entry: one instance per user, then the main, settings and backup windows, in that
// order, until the main window closes; they are destroyed in the reverse order.
#include "app/Vellomar.h"

#include "app/FreeMemory.h"
#include "app/backup.h"
#include "app/orecord.h"
#include "app/sys.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApplication(argc, argv);
    const auto laterStarts = ListenForLaterStarts(QStringLiteral("TMF1"), [] {
        Application->Restore();
        Application->BringToFront();
    });
    if (!laterStarts)
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
