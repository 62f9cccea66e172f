// Windows-1252, the character set of every text the program stores.
// The five bytes Windows leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map
// to the C1 control characters of the same number, so that every byte
// sequence survives a round trip through QString unchanged.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace platform {

// The Unicode character of one Windows-1252 byte.
char16_t cp1252ToUnicode(unsigned char byte);

// The Windows-1252 byte of a character, or -1 when the set has none.
int unicodeToCp1252(char16_t ch);

QString fromCp1252(QByteArrayView bytes);

// Characters the set cannot hold become '?'; *lossless tells whether any did.
QByteArray toCp1252(QStringView text, bool *lossless = nullptr);

// True when every character of the text has a Windows-1252 byte.
bool isCp1252(QStringView text);

} // namespace platform
