#pragma once
// The benchmarks' database: n "oprint" records registered over ten years (the current year holds
// a tenth of them, five departments a fifth each), written once into a file kept between runs
// and reused by every benchmark of a run.
#include "platform/ado/ADODB.h"
#include "platform/ado/SQLite.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <cstdint>
#include <functional>
#include <random>

inline int CurrentYear() { return QDate::currentDate().year(); }

// One transaction, one prepared insert.
inline void FillOprint(TSQLiteDatabase& Database, int Rows)
{
    static const char* const names[] = {"张三", "李四", "王五", "赵六", "陈晨", "阿明", "丁一", "蔡文"};
    static const char* const depts[] = {"财务部", "人事部", "技术部", "后勤部", "销售部"};
    static const char* const items[] = {"签字笔", "打印纸", "文件夹", "订书机", "笔记本", "胶水"};
    std::mt19937 random(12345);
    const QDate first(CurrentYear() - 9, 1, 1), last(CurrentYear() + 1, 1, 1);
    Database.ExecuteScript(QStringLiteral("BEGIN"));
    TSQLiteStatement insert = Database.Prepare(QStringLiteral(
        "insert into oprint(姓名,部门,数量,单位,物品名称,类型,日期,时间,备注) values(?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < Rows; ++i) {
        // Registered in time order, so ids grow with the dates, as in a real file.
        const QDate day = first.addDays(int(std::int64_t(i) * first.daysTo(last) / Rows));
        const String time = QStringLiteral("%1:%2:%3")
                                .arg(random() % 24, 2, 10, QChar(u'0'))
                                .arg(random() % 60, 2, 10, QChar(u'0'))
                                .arg(random() % 60, 2, 10, QChar(u'0'));
        insert.BindText(1, String::fromUtf8(names[random() % 8]));
        insert.BindText(2, String::fromUtf8(depts[random() % 5]));
        insert.BindInt64(3, 1 + random() % 20);
        insert.BindText(4, QStringLiteral("个"));
        insert.BindText(5, String::fromUtf8(items[random() % 6]));
        insert.BindText(6, QStringLiteral("A%1").arg(random() % 4));
        insert.BindText(7, day.toString(QStringLiteral("yyyy-MM-dd ")) + time);
        insert.BindText(8, time);
        insert.BindText(9, String());
        insert.Step();
        insert.Reset();
    }
    Database.ExecuteScript(QStringLiteral("COMMIT"));
}

// Rows stock-in records over ten years: quantities, prices and amounts with cents, some amounts
// Null, as the stock-in page lists and totals them.
inline void FillRuku(TSQLiteDatabase& Database, int Rows)
{
    static const char* const items[] = {"签字笔", "打印纸", "文件夹", "订书机", "笔记本", "胶水"};
    static const char* const suppliers[] = {"文具店", "办公超市", "纸业公司"};
    std::mt19937 random(54321);
    const QDate first(CurrentYear() - 9, 1, 1), last(CurrentYear() + 1, 1, 1);
    Database.ExecuteScript(QStringLiteral("BEGIN"));
    TSQLiteStatement insert = Database.Prepare(QStringLiteral(
        "insert into ruku(物品名称,类型,供应商,数量,单位,单价,金额,申购人,申购部门,登记人,日期,时间,备注) "
        "values(?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < Rows; ++i) {
        const QDate day = first.addDays(int(std::int64_t(i) * first.daysTo(last) / Rows));
        const int quantity = 1 + int(random() % 50);
        const double price = double(100 + random() % 10000) / 100;
        insert.BindText(1, String::fromUtf8(items[random() % 6]));
        insert.BindText(2, QStringLiteral("A%1").arg(random() % 4));
        insert.BindText(3, String::fromUtf8(suppliers[random() % 3]));
        insert.BindInt64(4, quantity);
        insert.BindText(5, QStringLiteral("个"));
        insert.BindDouble(6, price);
        if (i % 97 == 0)
            insert.BindNull(7);
        else
            insert.BindDouble(7, quantity * price);
        insert.BindText(8, QStringLiteral("张三"));
        insert.BindText(9, QStringLiteral("技术部"));
        insert.BindText(10, QStringLiteral("李四"));
        insert.BindText(11, day.toString(QStringLiteral("yyyy-MM-dd 10:00:00")));
        insert.BindText(12, QStringLiteral("10:00:00"));
        insert.BindText(13, String());
        insert.Step();
        insert.Reset();
    }
    Database.ExecuteScript(QStringLiteral("COMMIT"));
}

inline String JetConnectionString(const String& Path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + Path;
}

// The platform's own benchmarks need only the record table and its date index.
inline void CreateOprintTable(TADOConnection& Connection)
{
    Connection.Execute(String::fromUtf8("CREATE TABLE oprint(id COUNTER PRIMARY KEY, 姓名 TEXT, 部门 TEXT, 数量 INTEGER, "
                                        "单位 TEXT, 物品名称 TEXT, 类型 TEXT, 日期 DATETIME, 时间 TEXT, 备注 TEXT)"));
    Connection.Execute(String::fromUtf8("CREATE INDEX oprint_date ON oprint(日期, id, 数量)"));
}

using TPrepareData = std::function<void(TADOConnection&)>;

// The folder of the file "opr.mdb" with Rows records, made on first use: CreateTables makes the
// tables before the records are written, Prepare adds what comes after them (the application's
// indexes, say). Kind names the two, so files of different kinds never mix.
inline String OprintDataFolder(int Rows, const char* Kind, const TPrepareData& CreateTables = CreateOprintTable,
                               const TPrepareData& Prepare = {})
{
    const String folder = QDir::temp().absoluteFilePath(
        QStringLiteral("vellomar-bench/%1-%2-%3-v6").arg(String::fromUtf8(Kind)).arg(Rows).arg(CurrentYear()));
    const String path = QDir(folder).filePath(QStringLiteral("opr.mdb"));
    if (!QFile::exists(path)) {
        QDir().mkpath(folder);
        const String partial = path + QStringLiteral(".part");
        QFile::remove(partial);
        {
            TADOConnection connection(nullptr);
            connection.SetConnectionString(JetConnectionString(partial));
            connection.Open();
            CreateTables(connection);
            FillOprint(connection.Database(), Rows);
            if (Prepare)
                Prepare(connection);
            connection.Database().ExecuteScript(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        QFile::remove(partial + QStringLiteral("-wal"));
        QFile::remove(partial + QStringLiteral("-shm"));
        QFile::rename(partial, path);
    }
    return folder;
}
