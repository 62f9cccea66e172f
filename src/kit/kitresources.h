// The program's named pictures and sounds. They lie as files in the program
// folder's "Resources/" (written there by the build), named like the resource
// ("CheckOk.bmp", "LOCKED.png", "klik.wav"); names are looked up without
// regard to case, PNG before BMP.
#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QString>

// The bitmap of that name, or a null pixmap when there is none.
QPixmap LoadResourceBitmap(const QString &name);

// The same with the colour of its bottom-left pixel made transparent, as
// the kit draws most of its small pictures.
QPixmap LoadResourceBitmapTransparent(const QString &name);

// Raw bytes of a resource file with the given extension ("klik", "wav").
QByteArray LoadResourceData(const QString &name, const QString &extension);

// Forgets the cached pictures (after the program folder changed).
void FlushResourceCache();
