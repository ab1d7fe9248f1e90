#pragma once
// Data-aware edits on a shown form over a memory dataset of stock records, beside a plain edit
// that takes the focus away, driven with real Qt key, mouse and input-method events.
#include "editors/DBCtrlsEh.h"

#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/UiTestSupport.h"

#include <memory>

using namespace Qt::StringLiterals;

inline const String NameField = u"名称"_s;
inline const String QtyField = u"数量"_s;
inline const String NoteField = u"备注"_s;

class DBEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // This process's own clipboard: on a real display the system one is every process's.
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        PlatformMetrics().SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)}});
        Data = std::make_unique<TMemoryDataSet>(nullptr);
        Data->FieldDefs()->Add(u"id"_s, TFieldType::ftAutoInc);
        Data->FieldDefs()->Add(NameField, TFieldType::ftString, 20);
        Data->FieldDefs()->Add(QtyField, TFieldType::ftInteger);
        Data->FieldDefs()->Add(NoteField, TFieldType::ftString, 50);
        Data->Open();
        Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(12), Variant(u"办公室"_s)});
        Data->AppendRecord({Variant(), Variant(u"打印纸"_s), Variant(5), Variant::Null()});
        Data->First();
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Data.get());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 400, 200);
        Other = new TEdit(Form);
        Other->SetBounds(10, 150, 100, 24);
        Other->SetParent(Form);
    }

    void TearDown() override
    {
        delete Form;
        Form = nullptr;
        Source.reset();
        Data.reset();
        PlatformMetrics().Reset();
        Clipboard()->SetStore(nullptr);
    }

    // An edit of class T on the form at (10, 10), shown and focused, bound to Field (none:
    // own-value mode).
    template <class T = TDBEditEh>
    T* ShowEdit(const String& Field = String())
    {
        auto* edit = new T(Form);
        edit->SetBounds(10, 10, 200, 24);
        edit->SetParent(Form);
        if (!Field.isEmpty()) {
            edit->SetDataSource(Source.get());
            edit->SetDataField(Field);
        }
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        edit->SetFocus();
        return edit;
    }

    void LeaveEdit() { Other->SetFocus(); }

    String Stored(const String& Field) const { return Data->FieldByName(Field)->AsString(); }

    TScriptedDialogs Boxes;
    std::unique_ptr<TMemoryDataSet> Data;
    std::unique_ptr<TDataSource> Source;
    TForm* Form = nullptr;
    TEdit* Other = nullptr;
};
