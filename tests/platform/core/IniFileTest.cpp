// Settings files on disk: defaults, Chinese names in UTF-8, writes at once, odd lines and failures.
#include "platform/core/IniFile.h"

#include "platform/core/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class IniFile : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    String Path = Dir.filePath(QStringLiteral("os.ini"));

    void WriteFile(const QByteArray& Bytes) const
    {
        QFile File(Path);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
    }
    QByteArray FileBytes() const
    {
        QFile File(Path);
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }
};

}  // namespace

TEST_F(IniFile, MissingFileGivesDefaultsAndIsCreatedByTheFirstWrite)
{
    TIniFile Ini(Path);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Top"), 100), 100);
    EXPECT_EQ(Ini.ReadString(QStringLiteral("Form"), QStringLiteral("Name"), QStringLiteral("x")), QStringLiteral("x"));
    EXPECT_TRUE(Ini.ReadBool(QStringLiteral("Form"), QStringLiteral("Max"), true));
    EXPECT_FALSE(Ini.SectionExists(QStringLiteral("Form")));
    EXPECT_TRUE(Ini.ReadSections().isEmpty());
    Ini.EraseSection(QStringLiteral("Form"));
    Ini.DeleteKey(QStringLiteral("Form"), QStringLiteral("Top"));
    EXPECT_FALSE(QFile::exists(Path));

    Ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), 120);
    EXPECT_EQ(FileBytes(), QByteArray("[Form]\nTop=120\n"));
}

TEST_F(IniFile, ChineseSectionsAndKeysRoundTripInUtf8WithoutBom)
{
    TIniFile Ini(Path);
    Ini.WriteInteger(QStringLiteral("主界面"), QStringLiteral("激活页面"), 2);
    Ini.WriteInteger(QStringLiteral("表格颜色"), QStringLiteral("c1"), 8421504);
    Ini.WriteString(QStringLiteral("表格颜色"), QStringLiteral("名称"), QStringLiteral("灰色"));
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("主界面"), QStringLiteral("激活页面"), 0), 2);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("表格颜色"), QStringLiteral("c1"), 1), 8421504);
    EXPECT_EQ(Ini.ReadString(QStringLiteral("表格颜色"), QStringLiteral("名称"), String()), QStringLiteral("灰色"));
    EXPECT_EQ(FileBytes(), QStringLiteral("[主界面]\n激活页面=2\n[表格颜色]\nc1=8421504\n名称=灰色\n").toUtf8());
}

TEST_F(IniFile, WritesReachTheFileForEveryOtherReader)
{
    TIniFile Writer(Path);
    TIniFile Reader(Path);
    Writer.WriteInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), 3);
    EXPECT_EQ(Reader.ReadInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), 0), 3);
    Reader.WriteBool(QStringLiteral("设置界面"), QStringLiteral("显示"), true);
    Writer.WriteInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), 4);
    EXPECT_TRUE(Reader.ReadBool(QStringLiteral("设置界面"), QStringLiteral("显示"), false));
    EXPECT_EQ(Reader.ReadInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), 0), 4);
}

TEST_F(IniFile, NamesCompareCaseInsensitively)
{
    WriteFile("[Form]\nTop=7\n[\xC3\x84rger]\n\xC3\x9C" "ber=1\n");  // [Ärger] Über=1
    TIniFile Ini(Path);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("FORM"), QStringLiteral("top"), 0), 7);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("ärger"), QStringLiteral("üBER"), 0), 1);
    Ini.WriteInteger(QStringLiteral("form"), QStringLiteral("TOP"), 8);
    EXPECT_EQ(FileBytes(), QByteArray("[Form]\nTOP=8\n[\xC3\x84rger]\n\xC3\x9C" "ber=1\n"));
    EXPECT_TRUE(Ini.ValueExists(QStringLiteral("ÄRGER"), QStringLiteral("über")));
}

TEST_F(IniFile, NamesAndValuesAreTrimmedAndValuesMayHoldEquals)
{
    WriteFile("\xEF\xBB\xBF  [ Form ]  \n  Top  =  12  \nExpr = a=b = c \nEmpty=\n");
    TIniFile Ini(Path);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Top"), 0), 12);
    EXPECT_EQ(Ini.ReadString(QStringLiteral("Form"), QStringLiteral("Expr"), String()), QStringLiteral("a=b = c"));
    EXPECT_EQ(Ini.ReadString(QStringLiteral("Form"), QStringLiteral("Empty"), QStringLiteral("d")), String());
    Ini.WriteString(QStringLiteral("Form"), QStringLiteral("Expr"), QStringLiteral("x=y"));
    EXPECT_EQ(Ini.ReadString(QStringLiteral("Form"), QStringLiteral("Expr"), String()), QStringLiteral("x=y"));
    EXPECT_FALSE(FileBytes().startsWith("\xEF\xBB\xBF"));
}

TEST_F(IniFile, IntegersAcceptThePlatformFormsAndDefaultOtherwise)
{
    WriteFile("[N]\na=-42\nb=+5\nc=$FF\nd=0x10\ne=-$10\nf=$FFFFFFFF\ng=abc\nh=12x\ni=2147483648\n"
              "j=-2147483648\nk=\nl=$\nm=1.5\n");
    TIniFile Ini(Path);
    const auto Read = [&](const char* Key) { return Ini.ReadInteger(QStringLiteral("N"), QString::fromLatin1(Key), 99); };
    EXPECT_EQ(Read("a"), -42);
    EXPECT_EQ(Read("b"), 5);
    EXPECT_EQ(Read("c"), 255);
    EXPECT_EQ(Read("d"), 16);
    EXPECT_EQ(Read("e"), -16);
    EXPECT_EQ(Read("f"), -1);
    EXPECT_EQ(Read("j"), -2147483647 - 1);
    for (const char* Bad : {"g", "h", "i", "k", "l", "m"})
        EXPECT_EQ(Read(Bad), 99) << Bad;
    EXPECT_FALSE(Ini.ReadBool(QStringLiteral("N"), QStringLiteral("g"), false));
}

TEST_F(IniFile, MalformedLinesAreSkippedAndCommentsKept)
{
    WriteFile("; settings\r\norphan=1\r\n[Form]\r\njunk line\r\n=nokey\r\n;Top=5\r\nLeft=3\r\n[broken\r\n");
    TIniFile Ini(Path);
    EXPECT_EQ(Ini.ReadInteger(QStringLiteral("Form"), QStringLiteral("Top"), 100), 100);
    EXPECT_EQ(Ini.ReadSection(QStringLiteral("Form")), QStringList{QStringLiteral("Left")});
    EXPECT_EQ(Ini.ReadSections(), QStringList{QStringLiteral("Form")});
    Ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), 1);
    EXPECT_EQ(FileBytes(), QByteArray("; settings\r\norphan=1\r\n[Form]\r\njunk line\r\n=nokey\r\n;Top=5\r\nLeft=3\r\n"
                                      "[broken\r\nTop=1\r\n"));
}

TEST_F(IniFile, WritesKeepTheOrderOfEverythingElse)
{
    WriteFile("[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    TIniFile Ini(Path);
    Ini.WriteInteger(QStringLiteral("A"), QStringLiteral("y"), 20);
    Ini.WriteInteger(QStringLiteral("A"), QStringLiteral("new"), 4);
    Ini.WriteInteger(QStringLiteral("C"), QStringLiteral("w"), 5);
    EXPECT_EQ(FileBytes(), QByteArray("[A]\nx=1\ny=20\nnew=4\n\n[B]\nz=3\n[C]\nw=5\n"));
    EXPECT_EQ(Ini.ReadSections(), (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    EXPECT_EQ(Ini.ReadSection(QStringLiteral("a")),
              (QStringList{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("new")}));
}

TEST_F(IniFile, LinesThatAreNotUtf8KeepTheirBytesThroughWrites)
{
    // "; 设置" and "旧=灰色" as GBK, and a stray byte that no encoding owns.
    const QByteArray GbkComment("; \xC9\xE8\xD6\xC3");
    const QByteArray GbkKey("\xBE\xC9=\xBB\xD2\xC9\xAB");
    WriteFile(GbkComment + "\r\n[Form]\r\n" + GbkKey + "\r\nTop=1\r\nnote=a\xFFz\r\n");
    TIniFile Ini(Path);
    Ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), 2);
    Ini.WriteString(QStringLiteral("Form"), QStringLiteral("名称"), QStringLiteral("灰色"));
    EXPECT_EQ(FileBytes(), GbkComment + "\r\n[Form]\r\n" + GbkKey + "\r\nTop=2\r\nnote=a\xFFz\r\n"
                               + QStringLiteral("名称=灰色").toUtf8() + "\r\n");
    // A line the program writes again is written in UTF-8.
    Ini.WriteString(QStringLiteral("Form"), QStringLiteral("note"), QStringLiteral("备注"));
    EXPECT_EQ(FileBytes(), GbkComment + "\r\n[Form]\r\n" + GbkKey + "\r\nTop=2\r\n"
                               + QStringLiteral("note=备注\r\n名称=灰色\r\n").toUtf8());
    Ini.DeleteKey(QStringLiteral("Form"), QStringLiteral("Top"));
    EXPECT_EQ(FileBytes(), GbkComment + "\r\n[Form]\r\n" + GbkKey + "\r\n"
                               + QStringLiteral("note=备注\r\n名称=灰色\r\n").toUtf8());
}

TEST_F(IniFile, EraseSectionAndDeleteKeyRemoveOnlyTheirLines)
{
    WriteFile("[A]\nx=1\ny=2\n[表格颜色]\nc1=1\nc2=2\n[C]\nw=5\n");
    TIniFile Ini(Path);
    Ini.DeleteKey(QStringLiteral("A"), QStringLiteral("X"));
    Ini.EraseSection(QStringLiteral("表格颜色"));
    EXPECT_EQ(FileBytes(), QByteArray("[A]\ny=2\n[C]\nw=5\n"));
    EXPECT_FALSE(Ini.SectionExists(QStringLiteral("表格颜色")));
    EXPECT_FALSE(Ini.ValueExists(QStringLiteral("A"), QStringLiteral("x")));
    EXPECT_TRUE(Ini.SectionExists(QStringLiteral("c")));
    Ini.DeleteKey(QStringLiteral("C"), QStringLiteral("w"));
    EXPECT_FALSE(Ini.SectionExists(QStringLiteral("C")));  // a section without keys does not count
}

TEST_F(IniFile, FailedWriteRaisesNamingTheFile)
{
    const String Unwritable = Dir.filePath(QStringLiteral("missing/os.ini"));
    TIniFile Ini(Unwritable);
    try {
        Ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), 1);
        FAIL() << "no exception";
    } catch (const EIniFileException& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("无法写入 ") + Unwritable);
    }
}
