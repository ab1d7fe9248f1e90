// TADOQuery: its SQL translated on the connection, run by ExecSQL or opened as a record cursor.
#include "platform/ado/ADODB.h"

#include "platform/ado/SQLite.h"
#include "platform/ado/SQLiteCursor.h"
#include "platform/data/DatabaseError.h"

TADOQuery::TADOQuery(TComponent* AOwner)
    : TDataSet(AOwner), FSQL(std::make_unique<TStringList>()), FSnapshots(std::make_unique<TSnapshotConnection>())
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
    ConnectionClosing();
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
        ConnectionClosing();
        FConnection = nullptr;
    }
}

void TADOQuery::ConnectionClosing()
{
    Close();
    FSnapshots->Close();
}

void TADOQuery::SQLChanged()
{
    Close();
    // A sort orders the records one statement fetched; a new statement brings its own order.
    SetSort(String());
    if (FParamCheck)
        FParameters.ParseSQL(FSQL->Text(), true);
}

TJetStatement TADOQuery::TranslateSQL()
{
    if (!FConnection)
        DatabaseError(QStringLiteral("Missing Connection or ConnectionString"), this);
    FConnection->Open();
    return FConnection->Translate(FSQL->Text());
}

void TADOQuery::SetTotals(const QStringList& Expressions)
{
    if (Expressions == FTotals.Expressions)
        return;
    Close();
    FTotals.Expressions = Expressions;
}

const std::vector<Variant>& TADOQuery::TotalValues() const
{
    static const std::vector<Variant> none;
    return Active() ? FTotals.Values : none;
}

int TADOQuery::ExecSQL()
{
    TSQLiteStatement statement = FConnection->Database().PrepareKept(TranslateSQL().Sql, FSQL->Text().trimmed());
    FParameters.Bind(statement);
    FRowsAffected = statement.Execute();
    return FRowsAffected;
}

// A lazily read list binds its parameters again as it reads on: it keeps their values of now.
std::unique_ptr<TRecordCursor> TADOQuery::CreateCursor()
{
    const TJetStatement translated = TranslateSQL();
    FTotals.FieldNames = ExpectedTotals();
    auto parameters = std::make_shared<TParameters>();
    parameters->Assign(FParameters);
    return OpenSQLiteCursor(FConnection->Database(), translated, FSQL->Text().trimmed(),
                            [parameters](TSQLiteStatement& Statement) { parameters->Bind(Statement); }, *FSnapshots,
                            FCacheSize, &FTotals);
}
