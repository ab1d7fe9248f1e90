#pragma once
// Text of the platform: Unicode inside, as QString.
#include <QChar>
#include <QString>

using String = QString;
using Char = QChar;
