#pragma once
// Unit backup: the window that copies the database file to a backup and restores it.
#include "platform/ui/Forms.h"

class TForm4 : public TForm {
public:
    explicit TForm4(TComponent* AOwner);

protected:
    const char* ClassName() const override { return "TForm4"; }
};

extern TForm4* Form4;
