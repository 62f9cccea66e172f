// The tips of the day: "TarvoTips.ini" in the program folder (section
// "TipsOfTheDay", one key per tip, "\lb" for a line break; Windows-1252 with
// CR LF like every INI file of the program) and the bulb beside them,
// "Resources/TIPBMP.png", on magenta that the window shows as transparent.
#include "generator.h"

#include "platform/textfile.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <cstdio>

TARVO_GENERATOR(genTips, "tips of the day")
{
    static const char *const tips[] = {
        "Mit F12 schalten Sie das Bearbeiten ein und aus. Solange es aus ist, kann keine Eingabe "
        "versehentlich einen Datensatz ändern.",
        "Ein neues Medium legen Sie mit der Schaltfläche \"+\" der Navigationsleiste an, sobald das "
        "Bearbeiten eingeschaltet ist.",
        "Die Filme des aktuellen Mediums öffnen Sie mit Strg+1 bis Strg+5 direkt auf ihrer Karteikarte.",
        "Das Schnellsuchfeld in der Werkzeugleiste durchsucht Filme, Medien und Personen.\\lb"
        "Geben Sie einen Begriff ein und drücken Sie die Eingabetaste.",
        "Mit F10 suchen Sie den Titel des aktuellen Films im Internet, zum Beispiel in der Wikipedia. "
        "Welche Seiten angeboten werden, stellen Sie in der Internet-Suche selbst ein.",
        "Die Beschriftungen der freien Felder legen Sie unter \"Einstellungen\" fest. So wird aus "
        "\"Frei 1\" zum Beispiel \"Regie\" oder \"Sprache\".",
        "Eigene Kategorien definieren Sie unter \"Einstellungen\" › \"Kategorien definieren\". Jeder "
        "Film kann einer Kategorie angehören.",
        "Vor dem Etikettendruck zeigt die Etiketten-Vorschau genau das, was auf das Papier kommt.",
        "Für Selbstklebe-Etiketten tragen Sie die Maße Ihres Bogens unter \"Einstellungen\" ein. Ein "
        "Probedruck zeigt, ob alles an der richtigen Stelle sitzt.",
        "Mit einer freien SQL-Abfrage (\"Abfrage definieren (SQL)\") beantworten Sie fast jede Frage an "
        "Ihre Sammlung.\\lb Das Ergebnis lässt sich als Text, HTML, XML oder DIF exportieren.",
        "Ob es eine neuere Version gibt, prüft \"Online-Updateprüfung\" im Hilfe-Menü.",
        "\"Filtern nach Aufnahmelänge\" im Ansicht-Menü zeigt nur Medien, auf denen noch mindestens so "
        "viel Platz frei ist, wie Sie angeben: praktisch vor der nächsten Aufnahme.",
        "Ihre Daten werden beim Wechsel des Datensatzes gespeichert. \"Alle Daten speichern!\" im "
        "Datei-Menü schreibt sofort alles auf die Platte.",
    };
    QStringList lines;
    lines << QStringLiteral("[TipsOfTheDay]");
    int n = 0;
    for (const char *tip : tips)
        lines << QStringLiteral("Tip%1=").arg(++n) + QString::fromUtf8(tip);
    const QString path = progDir + QStringLiteral("/TarvoTips.ini");
    QString error;
    if (!gen::ensureParent(path) || !platform::writeFileBytes(path, platform::joinCp1252Lines(lines), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }

    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(120, 90, 0), 1));
    p.setBrush(QColor(255, 230, 80));
    p.drawEllipse(QRect(10, 4, 28, 28));
    p.setBrush(QColor(255, 245, 170));
    p.drawEllipse(QRect(16, 9, 9, 9));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRect(17, 31, 14, 9));
    p.drawLine(17, 34, 31, 34);
    p.drawLine(17, 37, 31, 37);
    p.setBrush(QColor(80, 80, 80));
    p.drawRect(QRect(20, 40, 8, 3));
    p.end();
    // The bottom-left pixel decides the transparent colour: keep it magenta.
    return gen::saveImage(img, progDir + QStringLiteral("/Resources/TIPBMP.png"));
}
