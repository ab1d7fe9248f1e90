// The clipboard keeps every format's bytes, hands a batch over in one go and offers text in both
// text formats, in memory and on the system clipboard alike.
#include "platform/ui/Clipboard.h"

#include "platform/core/TextEncoding.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

QByteArray Bytes(std::initializer_list<int> Values)
{
    QByteArray bytes;
    for (int value : Values)
        bytes.append(static_cast<char>(value));
    return bytes;
}

// Every byte value, zeros inside included: what a binary interchange block may hold.
QByteArray AllByteValues()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(static_cast<char>(value));
    return bytes;
}

TEST(ClipboardFormatsTest, RegisteredNamesHaveStableIdsInThePlatformsRange)
{
    const TClipboardFormat csv = RegisterClipboardFormat(QStringLiteral("Csv"));
    const TClipboardFormat rtf = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
    const TClipboardFormat dbif = RegisterClipboardFormat(QStringLiteral("VCLDBIF"));
    EXPECT_GE(csv, 0xC000u);
    EXPECT_NE(csv, rtf);
    EXPECT_NE(rtf, dbif);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("csv")), csv);
    EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("VCLDBIF")), dbif);
    EXPECT_EQ(GetClipboardFormatName(dbif), QStringLiteral("VCLDBIF"));
    EXPECT_TRUE(GetClipboardFormatName(CF_TEXT).isEmpty());
}

// Runs each case on the memory store and on the system clipboard.
class ClipboardTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Clipboard()->Clear();
    }
    void TearDown() override { Clipboard()->SetStore(nullptr); }

    // A copy the way the grid makes one: every format in one batch.
    void CopyAllFormats()
    {
        Clipboard()->Open();
        Clipboard()->SetFormatData(CF_TEXT, EncodeGB18030(QStringLiteral("名称\t数量\r\n笔\t2\r\n")).append('\0'));
        Clipboard()->SetFormatData(CF_UNICODETEXT, Bytes({0x0D, 0x54, 0xF0, 0x79, 0, 0}));
        Clipboard()->SetFormatData(Csv, QByteArray("a,b\r\n", 6));
        Clipboard()->SetFormatData(Dbif, AllByteValues());
        Clipboard()->Close();
    }

    const TClipboardFormat Csv = RegisterClipboardFormat(QStringLiteral("Csv"));
    const TClipboardFormat Rtf = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
    const TClipboardFormat Dbif = RegisterClipboardFormat(QStringLiteral("VCLDBIF"));
};

TEST_P(ClipboardTest, EveryFormatOfABatchComesBackByteForByte)
{
    CopyAllFormats();
    EXPECT_EQ(Clipboard()->GetFormatData(CF_TEXT),
              EncodeGB18030(QStringLiteral("名称\t数量\r\n笔\t2\r\n")).append('\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_UNICODETEXT), Bytes({0x0D, 0x54, 0xF0, 0x79, 0, 0}));
    EXPECT_EQ(Clipboard()->GetFormatData(Csv), QByteArray("a,b\r\n", 6));
    EXPECT_EQ(Clipboard()->GetFormatData(Dbif), AllByteValues());
    EXPECT_FALSE(Clipboard()->HasFormat(Rtf));
    EXPECT_TRUE(Clipboard()->GetFormatData(Rtf).isEmpty());
}

TEST_P(ClipboardTest, ANewBatchReplacesTheWholeContentOnlyWhenItCloses)
{
    CopyAllFormats();
    Clipboard()->Open();
    Clipboard()->SetFormatData(Csv, QByteArray("x"));
    // Inside the batch its own content is what reads back.
    EXPECT_FALSE(Clipboard()->HasFormat(Dbif));
    Clipboard()->Open();
    Clipboard()->SetFormatData(Rtf, QByteArray("{\\rtf1}"));
    Clipboard()->Close();
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->GetFormatData(Csv), QByteArray("x"));
    EXPECT_EQ(Clipboard()->GetFormatData(Rtf), QByteArray("{\\rtf1}"));
    EXPECT_FALSE(Clipboard()->HasFormat(Dbif));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_P(ClipboardTest, TextIsReadableInBothTextFormats)
{
    Clipboard()->SetAsText(QStringLiteral("办公用品"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("办公用品"));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_TEXT), EncodeGB18030(QStringLiteral("办公用品")).append('\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_UNICODETEXT),
              Bytes({0x9E, 0x52, 0x6C, 0x51, 0x28, 0x75, 0xC1, 0x54, 0, 0}));

    Clipboard()->SetFormatData(CF_TEXT, EncodeGB18030(QStringLiteral("礼品")).append('\0'));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("礼品"));
}

TEST_P(ClipboardTest, ClearLeavesNoFormat)
{
    CopyAllFormats();
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(Dbif));
    EXPECT_TRUE(Clipboard()->AsText().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Stores, ClipboardTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "Memory" : "System"; });

TEST(SystemClipboardTest, TextFromAnotherProgramIsBothTextFormats)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("赠品 12"));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_TEXT), EncodeGB18030(QStringLiteral("赠品 12")).append('\0'));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("赠品 12"));
}

TEST(SystemClipboardTest, OtherProgramsSeeTheCopiedTextAsPlainText)
{
    Clipboard()->Open();
    Clipboard()->SetFormatData(CF_TEXT, EncodeGB18030(QStringLiteral("入库")).append('\0'));
    Clipboard()->SetFormatData(RegisterClipboardFormat(QStringLiteral("VCLDBIF")), QByteArray("VCLDBIF", 7));
    Clipboard()->Close();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("入库"));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("application/x-vellomar-VCLDBIF")));
}

TEST(SystemClipboardTest, OtherProgramsReadTablesAsUtf8CsvAndRtf)
{
    const QByteArray csv = EncodeGB18030(QStringLiteral("\"物品\";\"数量\"\r\n\"纸\";\"2\"\r\n"));
    const QByteArray rtf("{\\rtf1 \\'d6\\'bd}");
    Clipboard()->Open();
    Clipboard()->SetFormatData(RegisterClipboardFormat(QStringLiteral("Csv")), csv + '\0');
    Clipboard()->SetFormatData(RegisterClipboardFormat(QStringLiteral("Rich Text Format")), rtf + '\0');
    Clipboard()->Close();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(data->data(QStringLiteral("text/csv")),
              QStringLiteral("\"物品\";\"数量\"\r\n\"纸\";\"2\"\r\n").toUtf8());
    EXPECT_EQ(data->data(QStringLiteral("text/rtf")), rtf);
    EXPECT_EQ(data->data(QStringLiteral("application/rtf")), rtf);
    // The program itself reads its own bytes back as they were written.
    EXPECT_EQ(Clipboard()->GetFormatData(RegisterClipboardFormat(QStringLiteral("Csv"))), csv + '\0');
    QGuiApplication::clipboard()->clear();
}

}  // namespace
