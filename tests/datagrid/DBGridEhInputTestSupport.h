#pragma once
// A data grid on a shown form over a dataset of named rows, driven with real Qt key, mouse,
// wheel and input-method events, as the user drives it.
#include "datagrid/DBGridEh.h"

#include "SumListTestSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"
#include "../platform/ado/TestTables.h"

#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>
#include <vector>

// The grid paints nothing; what it does is read from the dataset, the selection and its state.
class TInputDBGridEh : public TCustomDBGridEh {
public:
    using TCustomDBGridEh::TCustomDBGridEh;
    using TCustomDBGridEh::RowsAboveData;

protected:
    void PaintCell(int, int, TGridDrawState, TRect) override {}
};

// Names of the rows, the first ones chosen for the searches.
inline String RowName(int Index)
{
    static const char16_t* const first[] = {u"张三", u"李四", u"王五", u"Abc", u"abd", u"赵六"};
    if (Index < 6)
        return QString::fromUtf16(first[Index]);
    return u"记录%1"_s.arg(Index, 3, 10, QChar(u'0'));
}

class DBGridInputTest : public ::testing::Test {
protected:
    static constexpr int RowTotal = 30;

    void SetUp() override
    {
        Data.reset(NewStockDataSet(nullptr));
        Data->Open();
        for (int i = 0; i < RowTotal; ++i)
            Data->AppendRecord({Variant(), Variant(RowName(i)), Variant(i), Variant(i * 1.5)});
        Data->First();
        ShowGridOn(Data.get());
    }

    void TearDown() override
    {
        CheckNoUnexpectedBox();
        delete Form;
        Form = nullptr;
        Source.reset();
        Data.reset();
    }

    void CheckNoUnexpectedBox() const
    {
        if (!BoxesExpected && !Boxes.Shown().empty())
            ADD_FAILURE() << "unexpected message: " << Boxes.Shown().front().Text.toStdString();
    }

    void ShowGridOn(TDataSet* DataSet)
    {
        DataSetShown = DataSet;
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(DataSet);
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Grid = new TInputDBGridEh(Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(Form);
        Grid->SetDataSource(Source.get());
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }

    QWidget* Window() const { return Grid->Handle(); }

    void Key(int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString())
    {
        SendKey(Window(), QtKey, Text, Modifiers);
    }
    QPoint CellCentre(int ACol, int ARow) const
    {
        const TRect rect = Grid->CellPixelRect(ACol, ARow);
        return QPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    }
    // The grid row that shows data row Index of the visible records.
    int DataRow(int Index) const { return Grid->RowsAboveData() + Index; }
    void Press(QPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendMouse(Window(), QEvent::MouseButtonPress, At, Qt::LeftButton, Qt::LeftButton, Modifiers);
    }
    void DragTo(QPoint At) { SendMouse(Window(), QEvent::MouseMove, At, Qt::NoButton, Qt::LeftButton); }
    void Release(QPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendMouse(Window(), QEvent::MouseButtonRelease, At, Qt::LeftButton, Qt::NoButton, Modifiers);
    }
    void Click(QPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Press(At, Modifiers);
        Release(At, Modifiers);
        if (Modifiers != Qt::NoModifier)
            ReleaseKeyboardModifiers();
    }
    void ClickCell(int ACol, int ARow, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Click(CellCentre(ACol, ARow), Modifiers);
    }
    // One notch of the wheel: negative turns it toward the user (down).
    void Wheel(int Delta, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        const QPointF at(100, 100);
        QWheelEvent event(at, Window()->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton, Modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window(), &event);
    }

    String CurrentName() const { return DataSetShown->FieldByName(NameField)->AsString(); }
    int CurrentRecNo() const { return DataSetShown->RecNo(); }
    int SelectedCount() const { return Grid->SelectedRows()->ItemCount(); }

    // Every message box is answered by the script (its default button when none is given), so
    // an error shown by the window layer cannot stop a test; the boxes are read back.
    TScriptedDialogs Boxes;
    bool BoxesExpected = false;
    String NameField = u"名称"_s;
    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    TDataSet* DataSetShown = nullptr;
    TForm* Form = nullptr;
    TInputDBGridEh* Grid = nullptr;
};

// The same grid over a query on a database file.
class DBGridInputADOTest : public DBGridInputTest {
protected:
    void SetUp() override
    {
        Connection.SetLoginPrompt(false);
        ConnectWithTestTables(Connection, Dir.filePath(u"opr.mdb"_s));
        Command.SetConnection(&Connection);
        for (int i = 0; i < RowTotal; ++i) {
            SetSql(Command, "insert into ruku(物品名称,数量) values(:n,:q)");
            Command.Parameters()->ParamByName(u"n"_s)->SetValue(RowName(i));
            Command.Parameters()->ParamByName(u"q"_s)->SetValue(i);
            Command.ExecSQL();
        }
        Query.SetConnection(&Connection);
        SetSql(Query, "select * from ruku order by id");
        NameField = u"物品名称"_s;
        Query.Open();
        ShowGridOn(&Query);
    }
    void TearDown() override
    {
        CheckNoUnexpectedBox();
        delete Form;
        Form = nullptr;
        Source.reset();
        Query.Close();
    }
    static void SetSql(TADOQuery& Target, const char* Sql)
    {
        Target.Close();
        Target.SQL()->Clear();
        Target.SQL()->Add(String::fromUtf8(Sql));
    }

    QTemporaryDir Dir;
    TADOConnection Connection{nullptr};
    TADOQuery Command{nullptr};
    TADOQuery Query{nullptr};
};
