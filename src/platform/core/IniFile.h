#pragma once
// TIniFile: a settings file of [sections] and key=value lines. Like the platform's, it holds
// nothing in memory: every read reads the file and every write rewrites it at once, so the
// file is always what the program last wrote, even after a crash.
//
// The file is UTF-8 (a byte order mark is read, none is written). Section and key names
// compare case-insensitively; names and values are trimmed of surrounding blanks. A missing
// file reads as empty and is created by the first write; a failed write raises
// EIniFileException. A write replaces only the lines it changes: every other line keeps its
// bytes, comments and lines in other encodings (GBK) included.
#include "platform/core/Object.h"
#include "platform/core/String.h"

#include <QStringList>

class TIniFile : public TObject {
public:
    explicit TIniFile(const String& FileName) : FFileName(FileName) {}

    const String& FileName() const { return FFileName; }

    String ReadString(const String& Section, const String& Ident, const String& Default) const;
    void WriteString(const String& Section, const String& Ident, const String& Value);
    // Decimal with an optional sign, or hexadecimal after "$" or "0x"; anything else, or a
    // number out of range, reads as Default.
    int ReadInteger(const String& Section, const String& Ident, int Default) const;
    void WriteInteger(const String& Section, const String& Ident, int Value);
    // Any non-zero integer is true; written as 1 or 0.
    bool ReadBool(const String& Section, const String& Ident, bool Default) const;
    void WriteBool(const String& Section, const String& Ident, bool Value);

    // A section exists when it holds at least one key, as on the platform.
    bool SectionExists(const String& Section) const;
    bool ValueExists(const String& Section, const String& Ident) const;
    // The section's keys, in file order.
    QStringList ReadSection(const String& Section) const;
    // The names of all sections, in file order.
    QStringList ReadSections() const;
    // Removes the section with all its keys, or the one key; absent ones leave the file alone.
    void EraseSection(const String& Section);
    void DeleteKey(const String& Section, const String& Ident);

private:
    String FFileName;
};
