// The DOS code pages 437 and 850 that old tables may be written in, read
// into Unicode, and the choice of a decoder by a table's code page number.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace platform {

QString fromCp437(QByteArrayView bytes);
QString fromCp850(QByteArrayView bytes);

// Turns the bytes of one text into a QString.
using TextDecoder = QString (*)(QByteArrayView bytes);
// The decoder of a code page number: 437 and 850 as they are; 1252 and
// every other number (0 included) as Windows-1252, the program's own set.
TextDecoder decoderForCodePage(int codePage);

} // namespace platform
