#pragma once
// TPersistent: an object whose properties can be copied from another through Assign.
#include "platform/core/Object.h"

class TPersistent : public TObject {
public:
    // Copies Source's properties; a class that cannot raises EConvertError
    // ("Cannot assign a <source> to a <dest>"), as the platform does.
    virtual void Assign(TPersistent* Source);

protected:
    // Called by Assign when Source does not know this class: Source's chance to copy itself here.
    virtual void AssignTo(TPersistent* Dest);
    virtual TPersistent* GetOwner() { return nullptr; }
    // The class name used in messages; descendants that appear in messages override it.
    virtual const char* ClassName() const { return "TPersistent"; }
};
