#pragma once
// Unit sys: the settings window, which keeps the lists behind the main window's entry fields
// (users, departments, items, remarks, suppliers, one page each), and the pinyin search codes
// those lists store beside their Chinese names.
#include "platform/core/String.h"
#include "platform/ui/Forms.h"

#include <QByteArray>

class TGroupBox;
class TPageControl;
class TTabSheet;

class TForm3 : public TForm {
public:
    // Created after the main window, whose settings file it shares.
    explicit TForm3(TComponent* AOwner);
    ~TForm3() override;

    TGroupBox* GroupBox1;
    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TTabSheet* TabSheet2;
    TTabSheet* TabSheet3;
    TTabSheet* TabSheet4;
    TTabSheet* TabSheet5;

    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);

    // The lowercase pinyin initial of the GB2312 character whose two bytes begin Text, or a
    // blank when its code lies in no initial's range.
    static Char PinyinInitialOf(const QByteArray& Text);
    // The search code of Text: its ASCII letters and digits as they are and the pinyin initials
    // of its GB2312 characters, in order; everything else is left out.
    static String MakePinyinCode(const String& Text);

protected:
    const char* ClassName() const override { return "TForm3"; }
};

extern TForm3* Form3;
