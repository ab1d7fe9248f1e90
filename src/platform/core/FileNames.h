#pragma once
// The platform's file name routines.
#include "platform/core/String.h"

#include <memory>

class QTemporaryDir;

// True when something exists at Path, a file or a folder.
bool PathExists(const String& Path);
// FileName made absolute against the working directory.
String ExpandFileName(const String& FileName);
// The folder part of FileName, with its trailing separator; empty for a bare name.
String ExtractFilePath(const String& FileName);

// A new empty folder under the system's temporary folder, removed with what it holds when the
// object goes.
class TTemporaryFolder {
public:
    TTemporaryFolder();
    ~TTemporaryFolder();
    TTemporaryFolder(const TTemporaryFolder&) = delete;
    TTemporaryFolder& operator=(const TTemporaryFolder&) = delete;
    // Name inside the folder.
    String FilePath(const String& Name) const;

private:
    std::unique_ptr<QTemporaryDir> FFolder;
};
