#include "windows/cards/personcardhooks.h"

#include "data/locate.h"
#include "engine/table.h"
#include "kit/lockbutton.h"
#include "windows/cards/filmcardhooks.h"
#include "windows/main/mainform.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wpers.h"

TWPers *BoundPersonCard(TMainform &f)
{
    TWPers *w = PersonCard();
    if (w->Table1 != f.PersTable.get() || w->FilmTable != f.FilmTable.get()) {
        w->SetTables(f.PersTable.get(), f.FilmTable.get());
        QObject::connect(w->LockButton1, &TPZSpeedButton::Click, &f, [&f] { f.SpBReadOnlyClick(); });
        w->OnActivateMain = [&f] {
            f.raise();
            f.activateWindow();
        };
        w->OnShowFilmCard = [&f] { f.ShowFilmCard(0, true, false); };
        w->OnFilmsChanged = [&f] {
            if (f.Table2->active())
                f.Table2->refresh();
            f.ShowMediumFilms();
        };
        w->OnShowFilm = [&f](const QString &kind, int kassNr, int filmNr) {
            const MainDataSets ds = f.DataSets();
            if (!LocateFilm(ds, kind, kassNr, filmNr, true))
                return;
            LocateMedium(ds, kind, kassNr, true);
            OpenFilmCard(f, false);
        };
    }
    w->SyncLock(f.Editing());
    return w;
}

void ShowPersonCard(TMainform &f, const QString &name)
{
    BoundPersonCard(f)->ShowPerson(name);
}

void SyncPersonCardLock(bool editing)
{
    if (WPers)
        WPers->SyncLock(editing);
}

void ReleasePersonCard()
{
    delete WPers;
    WPers = nullptr;
}
