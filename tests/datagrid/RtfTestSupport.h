#pragma once
// Expected RTF pieces the exporter tests share.
#include "platform/ui/Graphics.h"

#include <QByteArray>

// One colour table entry.
inline QByteArray Rgb(int R, int G, int B)
{
    return "\\red" + QByteArray::number(R) + "\\green" + QByteArray::number(G) + "\\blue" + QByteArray::number(B) + ";";
}

inline QByteArray Rgb(TColor Color)
{
    const TColor rgb = ColorToRGB(Color);
    return Rgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// The colours every document's table starts with: text, window and the titles' button face.
inline QByteArray StandardRtfColours() { return Rgb(0, 0, 0) + Rgb(255, 255, 255) + Rgb(clBtnFace); }
