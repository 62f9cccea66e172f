// The film card's print button: its menu prints the film's attachment card
// or its description page.
#pragma once

class TWFilm;

void AddFilmCardPrintButton(TWFilm &card);
