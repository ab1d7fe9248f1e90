#pragma once
// Unit backup: the window that backs the database up to a file the user chooses and restores it
// from one. Both act on the file the main window's connection has open: the backup is a
// consistent copy taken while it stays open, and a restore accepts only a database of this
// program whose lists open, replaces the file in one step, then requeries the main window's lists.
#include "platform/ui/Forms.h"

class TBitBtn;
class TEdit;
class TGroupBox;
class TLabel;
class TOpenDialog;
class TSaveDialog;

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);

    TGroupBox* GroupBox1;
    TLabel* Label1;
    TEdit* Edit1;  // backup target
    TBitBtn* BitBtn1;
    TLabel* Label2;
    TEdit* Edit2;  // restore source
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn5;
    TBitBtn* BitBtn3;
    TSaveDialog* SaveDialog1;
    TOpenDialog* OpenDialog1;

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    // "选择": the backup target, the restore source.
    void BitBtn1Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    // "取消" empties both paths.
    void BitBtn3Click(TObject* Sender);
    // "备份" and "还原".
    void BitBtn4Click(TObject* Sender);
    void BitBtn5Click(TObject* Sender);

protected:
    const char* ClassName() const override { return "TForm4"; }

private:
    void CreateComponents();
    bool Confirm(const String& Text);
    void Inform(const String& Text, unsigned Icon);
    // After a failed restore: the lists queried again on whichever file is open.
    void RequeryClosedLists();
};

extern TForm4* Form4;
