// Files the kit loads from the program folder: the skins and button faces
// below "Skins/", and the kit's named pictures (title glyphs, grip, window
// icons), which live in "Resources/" as PNG files with transparency.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include "kit/kitresources.h"

// The program folder (the folder of the executable unless set otherwise).
QString KitProgramFolder();
// Points the kit at another program folder (tests, an installed layout).
// An empty name goes back to the executable's folder.
void SetKitProgramFolder(const QString &folder);

// Named pictures of the program ("X_M", "ECKE_M", ...): kit/kitresources.h.

// A bitmap file read as a device-independent image; null when it is missing
// or no readable image.
QImage LoadKitImage(const QString &path);
