#include "windows/cards/filmcardhooks.h"

#include "dbui/dbcombobox.h"
#include "engine/table.h"
#include "windows/main/mainform.h"
#include "windows/cards/wfilm.h"
#include "windows/cards/wgrafik.h"

#include <QTabBar>

void OpenFilmCard(TMainform &f, bool attachments)
{
    TWFilm *w = FilmCard();
    if (w->Table1 != f.FilmTable.get()) {
        w->SetTables(f.FilmTable.get(), f.PersTable.get(), f.Table1.get());
        w->OnFilmsChanged = [&f] {
            if (f.Table2->active())
                f.Table2->refresh();
            if (f.Table1->active())
                f.Table1->refresh();
            f.ShowMediumFilms();
            f.UpdateStatusLine();
        };
        w->OnNewFilm = [&f] { f.NewFilmOfShownFilm(); };
    }
    w->SyncLock(f.Editing());
    w->UpdateFilmWindowCaption();
    if (attachments)
        w->TabSet1->setCurrentIndex(0);
    w->show();
    w->raise();
    w->activateWindow();
    (attachments ? static_cast<QWidget *>(w->DBEF[0]) : static_cast<QWidget *>(w->DBETitel))->setFocus();
}

void SyncFilmCardLock(bool editing)
{
    if (WFilm)
        WFilm->SyncLock(editing);
}

void ReleaseFilmCard()
{
    delete WGrafik;
    WGrafik = nullptr;
    delete WFilm;
    WFilm = nullptr;
}
