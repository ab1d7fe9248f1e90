#pragma once
// The application's windows against a fresh "opr.mdb" in a temporary working directory, with
// message boxes answered by a script that keeps what they showed.
#include "app/backup.h"
#include "app/orecord.h"
#include "app/sys.h"
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

class TAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        QDir::setCurrent(FDir.path());
        QFile::remove(SettingsPath());
    }

    void TearDown() override
    {
        CloseWindows();
        QDir::setCurrent(FPreviousDir);
        QFile::remove(SettingsPath());
        QDir().rmdir(SettingsPath());
    }

    // Creates the three windows as the program does and shows the main one.
    void OpenWindows()
    {
        MF1 = new TMF1(nullptr);
        Form3 = new TForm3(nullptr);
        Form4 = new TForm4(nullptr);
        MF1->Show();
    }

    // Destroys them in the reverse order, as the program ends.
    void CloseWindows()
    {
        delete Form4;
        Form4 = nullptr;
        delete Form3;
        Form3 = nullptr;
        delete MF1;
        MF1 = nullptr;
    }

    // "os.ini" beside the executable.
    static String SettingsPath()
    {
        return QFileInfo(Application->ExeName()).absoluteDir().filePath(QStringLiteral("os.ini"));
    }

    String DatabasePath() const { return QDir(FDir.path()).filePath(QStringLiteral("opr.mdb")); }

    // The rows of a statement on the open database, each row's columns joined by '|'.
    static QStringList Rows(const char* Sql)
    {
        TSQLiteStatement statement = MF1->ADOCon1->Database().Prepare(String::fromUtf8(Sql));
        QStringList rows;
        while (statement.Step()) {
            QStringList columns;
            for (int i = 0; i < statement.ColumnCount(); ++i)
                columns << statement.ColumnText(i);
            rows << columns.join(u'|');
        }
        return rows;
    }

    static void Execute(const char* Sql) { MF1->ADOCon1->Database().ExecuteScript(String::fromUtf8(Sql)); }

    // Three issues and three stock-ins of this year (quantities 1, 2, 3 in January), shown on
    // their pages.
    static void RegisterThreeRecordsOfThisYear()
    {
        const String year = QDate::currentDate().toString(QStringLiteral("yyyy"));
        for (int i = 1; i <= 3; ++i)
            Execute(QStringLiteral("insert into oprint(姓名,部门,数量,物品名称,日期) values('张三','办公室',%1,'笔','%2-01-0%1');"
                                   "insert into ruku(物品名称,数量,单价,金额,日期) values('纸',%1,2.5,%1*2.5,'%2-01-0%1');")
                        .arg(i)
                        .arg(year)
                        .toUtf8()
                        .constData());
        MF1->BitBtn1->Click();
        MF1->BitBtn11->Click();
    }

    // The texts of the message boxes shown so far.
    QStringList Messages() const
    {
        QStringList texts;
        for (const TMessageBoxRequest& shown : FDialogs.Shown())
            texts << shown.Text;
        return texts;
    }

    QTemporaryDir FDir;
    String FPreviousDir = QDir::currentPath();
    TScriptedDialogs FDialogs;
};
