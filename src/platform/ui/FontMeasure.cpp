// TFont: text measured without a canvas, on one line or wrapped at word breaks.
#include "platform/ui/Graphics.h"

#include <QRect>

int TFont::TextAdvance(const String& Text) const { return FontMetrics().horizontalAdvance(Text); }

int TFont::WrappedTextHeight(const String& Text, int Width) const
{
    return FontMetrics().boundingRect(QRect(0, 0, Width, 1 << 20), Qt::TextWordWrap, Text).height();
}
