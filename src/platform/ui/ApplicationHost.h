#pragma once
// The toolkit's application object beneath the platform's Application: made first in main, it
// lives until the program ends.
#include <memory>

class QApplication;

class TApplicationHost {
public:
    TApplicationHost(int& Argc, char** Argv);
    ~TApplicationHost();
    TApplicationHost(const TApplicationHost&) = delete;
    TApplicationHost& operator=(const TApplicationHost&) = delete;

private:
    std::unique_ptr<QApplication> FApplication;
};
