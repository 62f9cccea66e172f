// The text templates of a new database: the category file "Def60.KAT" with
// the ten built-in categories, and the person captions "Def60.Pers.LAB".
#include "generator.h"

#include "platform/textfile.h"

#include <QStringList>
#include <cstdio>

static bool writeLines(const QString &path, const QByteArray &bytes)
{
    QString error;
    if (!gen::ensureParent(path) || !platform::writeFileBytes(path, bytes, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

TARVO_GENERATOR(genDef60Kat, "category template")
{
    static const char *const defaults[10][2] = {
        {"Keine", ""},
        {"Trickfilm", "Symbole\\snoopy.bmp"},
        {"Komödie", "Symbole\\smiley.bmp"},
        {"Anderer Spielfilm", "Symbole\\filmrolle.bmp"},
        {"Serie", ""},
        {"Reportage", "Symbole\\info.bmp"},
        {"Bühne (Theater/Oper/Musical)", "Symbole\\theater.bmp"},
        {"Selbstgefilmt", "Symbole\\camera.bmp"},
        {"Kinder", "Symbole\\teddy2.bmp"},
        {"Tierfilm", "Symbole\\Elefant.bmp"},
    };
    QStringList lines;
    for (int i = 0; i < 62; ++i) {
        lines << (i < 10 ? QString::fromUtf8(defaults[i][0]) : QString());
        lines << (i < 10 ? QString::fromUtf8(defaults[i][1]) : QString());
    }
    return writeLines(progDir + QStringLiteral("/Def60.KAT"), platform::joinCp1252Lines(lines));
}

TARVO_GENERATOR(genDef60PersLab, "person captions template")
{
    // Captions of fields 1 to 6, the file-link flag byte (none), field 7.
    QByteArray bytes;
    for (int n = 1; n <= 6; ++n)
        bytes += "Frei&" + QByteArray::number(n) + "\r\n";
    bytes += QByteArray(1, '\0') + "\r\n";
    bytes += "Frei&7\r\n";
    return writeLines(progDir + QStringLiteral("/Def60.Pers.LAB"), bytes);
}
