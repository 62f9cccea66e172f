// The main window's guided tour: pointing hints, one after the other with
// "Weiter", at the controls a new user needs first. The card's four after a
// new database or an import, the three at the film buttons after a new
// database, and the hint at the lock button when a first database opens.
#include "windows/main/mainform.h"

#include "dbui/dbedit.h"
#include "kit/enterexitbutton.h"
#include "kit/pzspeedbutton.h"
#include "windows/main/whint.h"

#include <QStringList>

namespace {

// What the lock button does, said once for the tour and the hint after a
// first open.
const char *const LockText =
    "Mit diesem Button (oder der Taste \\BF12\\b) schalten Sie den \\BEditiermodus\\b ein und wieder aus. "
    "Nur im Editiermodus können Sie Medien und Filme erfassen, ändern und löschen; sonst sind Ihre Daten "
    "vor versehentlichen Änderungen geschützt.";

// The arrow points up at the middle of the control's lower edge.
void pointAt(QWidget *control, const QString &text)
{
    ShowPointingHintAt(control, control->width() / 2, control->height(), text);
}

} // namespace

void TMainform::CardTour()
{
    pointAt(TBDatei, QStringLiteral("Über diese Buttons erreichen Sie alle \\BMenüs\\b von Tarvo: Datei, Ansicht, "
                                    "Druck, Einstellungen, Suche und Hilfe."));
    pointAt(DBMed, QStringLiteral("Das ist die \\BMedien-Karteikarte\\b. Sie zeigt immer \\Iein\\i Medium "
                                  "(Kassette, DVD, ...) mit seinem Medientyp und seiner Nummer, darunter Länge, "
                                  "Restspielzeit und die Filme darauf."));
    pointAt(DBNavigator1, QStringLiteral("Mit diesen Buttons blättern Sie durch Ihre Medien (das geht auch mit dem "
                                         "Mausrad), legen ein \\Bneues Medium\\b an (+) oder löschen eines (-)."));
    pointAt(SpBReadOnly, QString::fromUtf8(LockText));
}

void TMainform::NewDatabaseTour()
{
    CardTour();
    // The slots show the template's first film, and the editing buttons,
    // since a new database opens for editing.
    ShowMediumFilms();
    pointAt(Film[0], QStringLiteral("Hier wurde ein erster Film erfasst. Die Datenbank muss immer mindestens einen "
                                    "Film enthalten, deshalb können Sie ihn nicht löschen. Ändern sie ihn statt "
                                    "dessen.\\lb\\lbKlicken Sie ihn dazu an, es erscheint die Film-Karteikarte..."));
    pointAt(ButtNewFilm, QStringLiteral("Mit diesem Button erfassen Sie einen neuen Film zu dieser Kassette.\\lb\\lb "
                                        "Dieser Button steht nur im Editiermodus zur Verfügung!"));
    pointAt(SpBFilmDel,
            QStringLiteral("Mit diesem Button (rotes Minus) \\Blöschen Sie den Film\\b. Diese Option steht jeweils "
                           "nur für den letzten Film der Kassette (und nur im Editiermodus) zur Verfügung. Wenn Sie "
                           "einen anderen Film des Mediums einmal löschen wollen, markieren Sie ihn als \"frei\" "
                           "(unten auf der Film-Karteikarte) \\lb\\BFür weitere Details lesen Sie die Hilfe!"));
}

void TMainform::LockButtonHint()
{
    pointAt(SpBReadOnly, QStringLiteral("Die Datenbank ist geöffnet, zunächst aber \\Bschreibgeschützt\\b.\\lb\\lb")
                             + QString::fromUtf8(LockText));
}
