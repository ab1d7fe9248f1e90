#pragma once
// The one text order of the system, shared by string lists, CompareText, client-side sorts and
// the database's ORDER BY: the platform's Chinese (PRC) order, through ICU. Spaces, punctuation
// and digits first, then Latin letters, then Chinese by pinyin ("3号电池, A4纸, apple, Banana,
// 笔记本, 订书钉, 圆珠笔").
#include "platform/core/String.h"

enum class TCaseSensitivity { Insensitive, Sensitive };

// <0, 0, >0 as S1 sorts before, with, after S2. Insensitive ignores case (and width): "ABC"
// equals "abc". Sensitive tells case apart and orders texts that the collation still deems
// equal by their code points, so distinct texts never compare equal.
int CollateCompare(const String& S1, const String& S2, TCaseSensitivity Case);
