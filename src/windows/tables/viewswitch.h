// The table view and the list window switch to each other through these
// calls only; neither includes the other's header.
#pragma once

namespace dbui {
class DataSource;
}

// Kept with the table view (tabform.cpp).
// The film table's sort order as the sort menus show it: 0 title ("iTitel"),
// 1 category ("Kateg"), 2 numbers (any other index).
int CurrentFilmSort();
// The table view on its film or its media page, made on first use.
void ShowTableViewOf(bool films);
// The view's sort menu: the film table sorted by 0 title, 1 category or
// 2 numbers, the view made and shown on first use.
void SortFilmTable(int which);

// Kept with the list window (wliste.cpp).
// The list window over a data set (see ShowListWindow).
void ShowListWindowOf(dbui::DataSource *source, bool standard, bool films);
// The list window's sort menu follows a sort chosen elsewhere.
void ShowFilmSortInList(int which);
