// TBitmap: a picture decoded from the bytes of a stored value.
#include "platform/ui/Bitmap.h"

bool TBitmap::LoadFromBytes(const QByteArray& Bytes)
{
    SetImage(QImage::fromData(Bytes));
    return !Empty();
}
