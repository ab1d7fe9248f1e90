// The INI reader: arbitrary bytes as the file, every section and key read back, then one key
// written; the written value reads back and every other key keeps its value.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "platform/core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

namespace {

struct TKeyValue {
    String Section;
    String Key;
    String Value;
};

bool SameName(const String& A, const String& B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

// Every key the file holds, read as a program reads it.
std::vector<TKeyValue> ReadAll(const TIniFile& Ini)
{
    std::vector<TKeyValue> result;
    for (const String& section : Ini.ReadSections()) {
        const QStringList keys = Ini.ReadSection(section);
        FUZZ_CHECK(Ini.SectionExists(section) == !keys.isEmpty());
        for (const String& key : keys) {
            FUZZ_CHECK(Ini.ValueExists(section, key));
            const String value = Ini.ReadString(section, key, QStringLiteral("\1"));
            Ini.ReadInteger(section, key, 0);
            Ini.ReadBool(section, key, false);
            result.push_back({section, key, value});
        }
    }
    return result;
}

// A name a line can hold: trimmed, not empty, on one line; a section's without ']', a key's
// without '=' and not read as a comment or a section.
bool Storable(const String& Name, bool Section)
{
    if (Name.isEmpty() || Name != Name.trimmed() || Name.contains(u'\n') || Name.contains(u'\r'))
        return false;
    if (Section)
        return !Name.contains(u']');
    return !Name.contains(u'=') && !Name.startsWith(u';') && !Name.startsWith(u'[');
}

const String& FileName()
{
    // In memory where there is such a file system: every write flushes the file to its disk.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/fuzz-ini-XXXXXX")
                                                                          : QDir::tempPath() + QStringLiteral("/fuzz-ini-XXXXXX"));
    static const String name = folder.filePath(QStringLiteral("fuzz.ini"));
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TFuzzInput input(Data, Size);
    const String section = input.Text();
    const String key = input.Text();
    const String value = input.Text();
    const int action = input.Byte() % 3;
    {
        QFile file(FileName());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(input.RestBytes());
    }
    TIniFile ini(FileName());
    const std::vector<TKeyValue> before = ReadAll(ini);
    const auto named = [](const String& Name) { return [&Name](const String& E) { return SameName(E, Name); }; };
    const QStringList sections = ini.ReadSections();
    const QStringList keys = ini.ReadSection(section);
    const auto sectionCount = std::count_if(sections.begin(), sections.end(), named(section));
    const auto keyCount = std::count_if(keys.begin(), keys.end(), named(key));

    if (action == 0)
        ini.WriteString(section, key, value);
    else if (action == 1)
        ini.DeleteKey(section, key);
    else
        ini.EraseSection(section);

    const bool storable = Storable(section, true) && Storable(key, false) && !value.contains(u'\n') && !value.contains(u'\r');
    if (action == 0 && storable)
        FUZZ_CHECK(ini.ReadString(section, key, QString()) == value.trimmed());
    // Only the first of a repeated section or key goes.
    if (action == 1 && keyCount <= 1)
        FUZZ_CHECK(!ini.ValueExists(section, key));
    if (action == 2 && sectionCount <= 1)
        FUZZ_CHECK(!ini.SectionExists(section));
    // Keys of other sections and other keys of the section are as they were.
    if (storable || action == 2) {
        for (const TKeyValue& entry : before) {
            if (SameName(entry.Section, section) && (action == 2 || SameName(entry.Key, key)))
                continue;
            FUZZ_CHECK(ini.ReadString(entry.Section, entry.Key, QStringLiteral("\1")) == entry.Value);
        }
    }
    return 0;
}
