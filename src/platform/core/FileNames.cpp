// The platform's file name routines, on QtCore's file information.
#include "platform/core/FileNames.h"

#include <QFileInfo>
#include <QTemporaryDir>

bool PathExists(const String& Path) { return QFileInfo::exists(Path); }

String ExpandFileName(const String& FileName) { return FileName.isEmpty() ? FileName : QFileInfo(FileName).absoluteFilePath(); }

String ExtractFilePath(const String& FileName)
{
    const qsizetype slash = FileName.lastIndexOf(u'/');
    return slash < 0 ? String() : FileName.left(slash + 1);
}

TTemporaryFolder::TTemporaryFolder() : FFolder(std::make_unique<QTemporaryDir>()) {}

TTemporaryFolder::~TTemporaryFolder() = default;

String TTemporaryFolder::FilePath(const String& Name) const { return FFolder->filePath(Name); }
