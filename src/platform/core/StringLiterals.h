#pragma once
// u"..."_s, the String literal built when the program is compiled, and TStringDynArray, the
// list of texts String's split answers and its join takes.
#include "platform/core/String.h"

#include <QStringList>

using Qt::Literals::StringLiterals::operator""_s;
using TStringDynArray = QStringList;
