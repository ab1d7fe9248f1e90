#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/data/DatabaseError.h"

TADOQuery::TADOQuery(TComponent* AOwner) : TDataSet(AOwner), FSQL(std::make_unique<TStringList>())
{
    FSQL->OnChange = [this](TObject*) { SQLChanged(); };
}

TADOQuery::~TADOQuery()
{
    // Closing here, before the dataset's own destructor, must not run close handlers: what they
    // touch may be gone already.
    Destroying();
    SetConnection(nullptr);
}

void TADOQuery::SetConnection(TADOConnection* Value)
{
    if (Value == FConnection)
        return;
    Close();
    if (FConnection) {
        FConnection->UnregisterQuery(this);
        FConnection->RemoveFreeNotification(this);
    }
    FConnection = Value;
    if (FConnection) {
        FConnection->RegisterQuery(this);
        FConnection->FreeNotification(this);
    }
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation)
{
    TDataSet::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FConnection) {
        Close();
        FConnection = nullptr;
    }
}

void TADOQuery::SQLChanged()
{
    Close();
    if (FParamCheck)
        FParameters.ParseSQL(FSQL->Text(), true);
}

TSQLiteStatement TADOQuery::PrepareStatement(bool KeysetOnly, TJetStatement& Translated)
{
    if (!FConnection)
        DatabaseError(QStringLiteral("Missing Connection or ConnectionString"), this);
    FConnection->Open();
    const String sql = FSQL->Text();
    Translated = FConnection->Translate(sql);
    TSQLiteStatement statement = FConnection->Database().Prepare(
        KeysetOnly && !Translated.Table.isEmpty() ? Translated.KeysetSql : Translated.Sql, sql.trimmed());
    FParameters.Bind(statement);
    return statement;
}

int TADOQuery::ExecSQL()
{
    TJetStatement translated;
    FRowsAffected = PrepareStatement(false, translated).Execute();
    return FRowsAffected;
}

std::unique_ptr<TRecordCursor> TADOQuery::CreateCursor()
{
    TJetStatement translated;
    TSQLiteStatement statement = PrepareStatement(true, translated);
    return OpenSQLiteCursor(FConnection->Database(), statement, translated.Table);
}
