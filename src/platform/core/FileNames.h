#pragma once
// The platform's file name routines.
#include "platform/core/String.h"

// True when something exists at Path, a file or a folder.
bool PathExists(const String& Path);
// FileName made absolute against the working directory.
String ExpandFileName(const String& FileName);
// The folder part of FileName, with its trailing separator; empty for a bare name.
String ExtractFilePath(const String& FileName);
