#pragma once
// Reads a written .xlsx back as a spreadsheet program sees it: the archive is unpacked with
// unzip, and the sheet, its shared texts, styles and name are read from their XML.
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

struct TCellRead {
    QString Type;  // "s" shared text, "b" boolean, "" number; "str"/"inlineStr" would be other texts
    QString Value;  // the number's text, or the shared text itself (escapes left as stored)
    bool Formula = false;
    bool Centred = false;
};

struct TXlsxReadBack {
    QString SheetName;
    QMap<QString, TCellRead> Cells;  // by reference, "A1"
    QStringList Merged;  // "B1:D1", ...
    QString SheetXml;
};

// A part that is absent reads as empty when it need not be there (the shared texts of a
// workbook without texts).
inline QByteArray XlsxPart(const QString& File, const QString& Part, bool Required = true)
{
    QProcess Unzip;
    Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), File, Part});
    EXPECT_TRUE(Unzip.waitForFinished(30000)) << "unzip did not run";
    if (Unzip.exitCode() == 11 && !Required)
        return QByteArray();
    EXPECT_EQ(Unzip.exitCode(), 0) << "no part " << Part.toStdString() << " in " << File.toStdString();
    return Unzip.readAllStandardOutput();
}

inline TXlsxReadBack ReadXlsx(const QString& File)
{
    TXlsxReadBack Result;
    QStringList Shared;
    QXmlStreamReader Strings(XlsxPart(File, QStringLiteral("xl/sharedStrings.xml"), false));
    while (!Strings.atEnd())
        if (Strings.readNext() == QXmlStreamReader::StartElement && Strings.name() == u"t")
            Shared << Strings.readElementText();

    // Which cell formats centre, by their index.
    QList<bool> CentredStyles;
    QXmlStreamReader Styles(XlsxPart(File, QStringLiteral("xl/styles.xml")));
    bool InCellXfs = false;
    while (!Styles.atEnd()) {
        Styles.readNext();
        if (Styles.isStartElement() && Styles.name() == u"cellXfs")
            InCellXfs = true;
        else if (Styles.isEndElement() && Styles.name() == u"cellXfs")
            InCellXfs = false;
        else if (InCellXfs && Styles.isStartElement() && Styles.name() == u"xf")
            CentredStyles << false;
        else if (InCellXfs && Styles.isStartElement() && Styles.name() == u"alignment")
            CentredStyles.last() = Styles.attributes().value(QStringLiteral("horizontal")) == u"center";
    }

    QXmlStreamReader Book(XlsxPart(File, QStringLiteral("xl/workbook.xml")));
    while (!Book.atEnd())
        if (Book.readNext() == QXmlStreamReader::StartElement && Book.name() == u"sheet")
            Result.SheetName = Book.attributes().value(QStringLiteral("name")).toString();

    const QByteArray SheetXml = XlsxPart(File, QStringLiteral("xl/worksheets/sheet1.xml"));
    Result.SheetXml = QString::fromUtf8(SheetXml);
    QXmlStreamReader Sheet(SheetXml);
    QString Reference;
    while (!Sheet.atEnd()) {
        Sheet.readNext();
        if (!Sheet.isStartElement())
            continue;
        if (Sheet.name() == u"c") {
            Reference = Sheet.attributes().value(QStringLiteral("r")).toString();
            TCellRead& Cell = Result.Cells[Reference];
            Cell.Type = Sheet.attributes().value(QStringLiteral("t")).toString();
            const int Style = Sheet.attributes().value(QStringLiteral("s")).toInt();
            Cell.Centred = Style < CentredStyles.size() && CentredStyles[Style];
        } else if (Sheet.name() == u"v") {
            TCellRead& Cell = Result.Cells[Reference];
            const QString Text = Sheet.readElementText();
            Cell.Value = Cell.Type == u"s" ? Shared.value(Text.toInt()) : Text;
        } else if (Sheet.name() == u"f") {
            Result.Cells[Reference].Formula = true;
        } else if (Sheet.name() == u"mergeCell") {
            Result.Merged << Sheet.attributes().value(QStringLiteral("ref")).toString();
        }
    }
    EXPECT_FALSE(Sheet.hasError()) << Sheet.errorString().toStdString();
    return Result;
}
