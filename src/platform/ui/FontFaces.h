#pragma once
// The faces the platform draws the system's font names with: families that the setup script
// installs (fonts-noto-cjk), chosen by name here and never left to the machine's font fallback,
// so text measures the same on every machine.
#include "platform/core/String.h"

#include <QString>

enum class TFontPitch;

// The system's default user-interface font, 9 points.
inline const String DefaultFontName = QStringLiteral("宋体");

// The installed family that draws the font named Name.
QString InstalledFamily(const String& Name, TFontPitch Pitch);
// The pixel size that family draws at for the system's em height EmPixels.
int InstalledPixelSize(int EmPixels);
