#pragma once
// Chinese text order: pinyin through ICU (zh_CN), the one collation shared by string lists,
// text comparisons, client-side sorts and the database.
#include "platform/core/String.h"

enum class TCaseSensitivity { Insensitive, Sensitive };

// <0, 0, >0 as S1 sorts before, with, after S2. Texts that the collation deems equal but that
// differ are ordered by their code points, so distinct texts never compare equal.
int CollateCompare(const String& S1, const String& S2, TCaseSensitivity Case);
