#pragma once
// Unit sys: the settings window, which keeps the lists behind the main window's entry fields,
// and the pinyin search codes every list stores beside its Chinese names.
#include "platform/core/String.h"
#include "platform/ui/Forms.h"

#include <QByteArray>

class TForm3 : public TForm {
public:
    explicit TForm3(TComponent* AOwner);

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
