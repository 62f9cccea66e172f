// Files the kit loads from the program folder: the skins and button faces
// below "Skins/", and the kit's named pictures (title glyphs, grip, window
// icons), which live in "Resources/" as PNG files with transparency.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

// The program folder (the folder of the executable unless set otherwise).
QString KitProgramFolder();
// Points the kit at another program folder (tests, an installed layout).
// An empty name goes back to the executable's folder.
void SetKitProgramFolder(const QString &folder);

// A named picture of the program, e.g. "X_M" or "ECKE_M"; a null pixmap when
// the program folder has no such picture.
QPixmap LoadResourceBitmap(const QString &name);

// A bitmap file read as a device-independent image; null when it is missing
// or no readable image.
QImage LoadKitImage(const QString &path);
