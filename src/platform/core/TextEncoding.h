#pragma once
// Text encodings. Text is Unicode inside the program; GB18030, the program's ANSI code page,
// appears only where bytes leave or enter it (clipboard formats, byte files).
#include "platform/core/String.h"

#include <QByteArray>

// The bytes of a text in one encoding.
using TBytes = QByteArray;

// Neither direction fails: an invalid or truncated byte sequence decodes to one U+FFFD and
// decoding goes on after it; a character GB18030 cannot hold (a lone surrogate) encodes as '?'.
QByteArray EncodeGB18030(const String& Text);
String DecodeGB18030(const QByteArray& Bytes);

// Text in GBK, the one- and two-byte part of GB18030: each character GB18030 writes in four
// bytes lies outside GBK and encodes as one '?'.
QByteArray EncodeGBK(const String& Text);
