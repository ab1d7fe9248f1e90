// The backup window: backing the database file up under a chosen name and restoring it from a
// checked copy.
#include "app/backup.h"

#include "app/FormBuilding.h"
#include "app/OprDatabase.h"
#include "app/oprIndexes.h"
#include "app/orecord.h"
#include "platform/ado/ADODB.h"
#include "platform/core/Exceptions.h"
#include "platform/core/FileNames.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <set>

TForm4* Form4 = nullptr;

namespace {

const String NotOprDatabase = QStringLiteral("所选文件不是本程序的数据库文件，或者已经损坏。");

// The columns of the program's eight tables, as a new database file gets them.
const std::set<String>& OprColumns()
{
    static const std::set<String> columns = [] {
        const TTemporaryFolder folder;
        TADOConnection schema(nullptr);
        schema.SetConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1")
                                       .arg(folder.FilePath(QStringLiteral("opr.mdb"))));
        OpenOprDatabase(&schema);
        return schema.TableColumns();
    }();
    return columns;
}

// Accepts only a sound database with the program's tables and their columns; anything else
// (an empty file, text, a cut-off copy, another program's database) is refused with one message.
void CheckOprTables(const TADOConnection& Connection)
{
    try {
        const std::set<String> columns = Connection.TableColumns();
        if (!std::includes(columns.begin(), columns.end(), OprColumns().begin(), OprColumns().end()) ||
            !Connection.IntegrityIsSound())
            DatabaseError(NotOprDatabase);
    } catch (const EDatabaseError&) {
        DatabaseError(NotOprDatabase);
    }
}

// A page's whole list with its total, every record read as its grid shows it: what the page's
// lists at start and "查询全部" read.
void ListWithTotal(TADOConnection& Connection, const char* Table)
{
    TADOQuery list(nullptr);
    list.SetConnection(&Connection);
    list.SetTotals({QStringLiteral("sum(数量)")});
    list.SQL()->SetText(QStringLiteral("select * from %1 order by 日期 desc,id desc").arg(String::fromLatin1(Table)));
    list.Open();
    for (list.First(); !list.Eof(); list.Next())
        for (int i = 0; i < list.FieldCount(); ++i)
            list.Fields()->Fields(i)->DisplayText();
}

// The copy offered for restore, on a connection of its own, before it takes the live file's
// place: besides its tables, it must serve what the program runs on its database at start (the
// indexes, each page's list and total), or the program would show an error at every start.
void CheckOprDatabase(TADOConnection& Connection)
{
    CheckOprTables(Connection);
    // A file that cannot take the indexes fails as the start would, for the reason it gives.
    CreateOprIndexes(Connection);
    try {
        for (const char* table : {"oprint", "gift", "ruku"})
            ListWithTotal(Connection, table);
    } catch (const Exception& E) {
        DatabaseError(QStringLiteral("所选文件中的记录无法列出，不能用它还原：") + E.Message());
    }
}

// The failure message of a direction, with why it failed below it.
String Failure(const char* Message, const String& Reason)
{
    return String::fromUtf8(Message) + QStringLiteral("\r\r") + Reason;
}

// A refused restore: the file offered, what is wrong with it, and that nothing was replaced.
String RestoreRefusal(const String& Source, const String& Reason)
{
    return Failure("数据库还原失败!", QStringLiteral("所选文件：%1\r%2\r\r正在使用的数据库文件没有改变。").arg(Source, Reason));
}

}  // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    CreateComponents();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnShow = [this](TObject* Sender) { FormShow(Sender); };
    BitBtn1->OnClick = [this](TObject* Sender) { BitBtn1Click(Sender); };
    BitBtn2->OnClick = [this](TObject* Sender) { BitBtn2Click(Sender); };
    BitBtn3->OnClick = [this](TObject* Sender) { BitBtn3Click(Sender); };
    BitBtn4->OnClick = [this](TObject* Sender) { BitBtn4Click(Sender); };
    BitBtn5->OnClick = [this](TObject* Sender) { BitBtn5Click(Sender); };
    EndLoading();
}

void TForm4::CreateComponents()
{
    SetName(QStringLiteral("Form4"));
    SetCaption(QStringLiteral("数据库备份/还原"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetClientWidth(416);
    SetClientHeight(203);

    GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 8, 8, 400, 187);
    GroupBox1->SetCaption(QStringLiteral("非管理员请勿操作"));
    Label1 = Place<TLabel>(this, GroupBox1, "Label1", 24, 40, 0, 0);
    Label1->SetCaption(QStringLiteral("备份："));
    Edit1 = Place<TEdit>(this, GroupBox1, "Edit1", 72, 36, 233, 21);
    Edit1->SetReadOnly(true);
    BitBtn1 = Place<TBitBtn>(this, GroupBox1, "BitBtn1", 316, 34, 65, 25);
    BitBtn1->SetCaption(QStringLiteral("选择"));
    Label2 = Place<TLabel>(this, GroupBox1, "Label2", 24, 84, 0, 0);
    Label2->SetCaption(QStringLiteral("还原："));
    Edit2 = Place<TEdit>(this, GroupBox1, "Edit2", 72, 80, 233, 21);
    Edit2->SetReadOnly(true);
    BitBtn2 = Place<TBitBtn>(this, GroupBox1, "BitBtn2", 316, 78, 65, 25);
    BitBtn2->SetCaption(QStringLiteral("选择"));
    BitBtn4 = Place<TBitBtn>(this, GroupBox1, "BitBtn4", 72, 136, 75, 25);
    BitBtn4->SetCaption(QStringLiteral("备份"));
    BitBtn5 = Place<TBitBtn>(this, GroupBox1, "BitBtn5", 160, 136, 75, 25);
    BitBtn5->SetCaption(QStringLiteral("还原"));
    BitBtn3 = Place<TBitBtn>(this, GroupBox1, "BitBtn3", 248, 136, 75, 25);
    BitBtn3->SetCaption(QStringLiteral("取消"));

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName(QStringLiteral("SaveDialog1"));
    OpenDialog1 = new TOpenDialog(this);
    OpenDialog1->SetName(QStringLiteral("OpenDialog1"));
}

void TForm4::FormCreate(TObject* Sender)
{
    OpenDialog1->SetTitle(QStringLiteral("打开一个ACCESS文件:"));
    OpenDialog1->SetFilter(QStringLiteral("Access Files(*.mdb)|*.mdb"));
    SaveDialog1->SetTitle(QStringLiteral("保存文件:"));
    SaveDialog1->SetDefaultExt(QStringLiteral("mdb"));
    SaveDialog1->SetFilter(QStringLiteral("Access Files(*.mdb)|*.mdb|All Files(*.*)|*.*"));
}

void TForm4::FormShow(TObject* Sender)
{
    SetTop(MF1->Top() + 75);
    SetLeft(MF1->Left() + 80);
}

void TForm4::BitBtn1Click(TObject* Sender)
{
    SaveDialog1->SetFileName(QStringLiteral("备份") + FormatDateTime(QStringLiteral("yyyy-MM-dd"), Now()));
    if (SaveDialog1->Execute())
        Edit1->SetText(SaveDialog1->FileName());
}

void TForm4::BitBtn2Click(TObject* Sender)
{
    if (OpenDialog1->Execute())
        Edit2->SetText(OpenDialog1->FileName());
}

void TForm4::BitBtn3Click(TObject* Sender)
{
    Edit1->SetText(String());
    Edit2->SetText(String());
}

bool TForm4::Confirm(const String& Text)
{
    return MessageBox(Handle(), Text, QStringLiteral("确认删除"), MB_OKCANCEL | MB_ICONWARNING) == IDOK;
}

void TForm4::Inform(const String& Text, unsigned Icon) { MessageBox(Handle(), Text, PromptCaption, MB_OK | Icon); }

void TForm4::BitBtn4Click(TObject* Sender)
{
    const String target = Edit1->Text();
    if (target.isEmpty()) {
        Inform(QStringLiteral("请选择数据备份文件保存目录 ！"), MB_ICONWARNING);
        return;
    }
    if (!Confirm(QStringLiteral("警告：确认备份数据库吗 ？")))
        return;
    TADOConnection* connection = MF1->ADOCon1;
    if (connection->IsDatabaseFile(target)) {
        Inform(Failure("数据库备份失败!", QStringLiteral("不能备份到正在使用的数据库文件本身。")), MB_ICONERROR);
        return;
    }
    try {
        connection->BackupTo(target);
    } catch (const Exception& E) {
        Inform(Failure("数据库备份失败!", E.Message()), MB_ICONERROR);
        return;
    }
    Inform(QStringLiteral("数据库备份成功!"), MB_ICONINFORMATION);
}

void TForm4::BitBtn5Click(TObject* Sender)
{
    const String source = Edit2->Text();
    if (source.isEmpty()) {
        Inform(QStringLiteral("请选择数据备份文件 ！"), MB_ICONWARNING);
        return;
    }
    if (!Confirm(QStringLiteral("警告：确认还原数据库吗 ？\r\r(请注意做好数据备份，还原后数据将更新 ！)")))
        return;
    TADOConnection* connection = MF1->ADOCon1;
    if (connection->IsDatabaseFile(source)) {
        Inform(RestoreRefusal(source, QStringLiteral("所选文件就是正在使用的数据库文件。")), MB_ICONERROR);
        return;
    }
    try {
        connection->RestoreFrom(source, CheckOprDatabase);
    } catch (const Exception& E) {
        RequeryClosedLists();
        Inform(RestoreRefusal(source, E.Message()), MB_ICONERROR);
        return;
    }
    // The lists show the restored records at once, as after "刷新". The file is replaced by now,
    // so a list that fails is no failed restore.
    try {
        MF1->BitBtn3->Click();
    } catch (const Exception& E) {
        Inform(Failure("数据库已还原，但记录列表无法打开!", E.Message()), MB_ICONWARNING);
        return;
    }
    Inform(QStringLiteral("数据库还原成功!"), MB_ICONINFORMATION);
}

void TForm4::RequeryClosedLists()
{
    // Past closing the connection, the lists were closed with it, whichever file it holds now.
    if (!MF1->ADOCon1->Connected() || MF1->dbouser1->Active())
        return;
    try {
        MF1->BitBtn3->Click();
    } catch (const Exception&) {
        // The failure that closed them is the one reported.
    }
}
