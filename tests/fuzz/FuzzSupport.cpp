#include "FuzzSupport.h"

#include "platform/ado/OprSchema.h"
#include "platform/ui/Forms.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

void FuzzFailure(const char* Condition, const char* File, int Line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", File, Line, Condition);
    std::abort();
}

void CreateFuzzSchema(TSQLiteDatabase& Database) { CreateOprSchema(Database); }

void EnsureFuzzApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
    // An error that reaches the application would open a message box and wait for a click.
    Application->OnException = [](TObject*, const std::exception&) {};
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
// Font configuration caches what it loads for the life of the process, and nothing of ours
// calls into it but Qt: not a leak of the code under test.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
#endif
