// The film card's print menu: its first two entries print the film's
// attachment card and its description page (the card makes the button and
// the menu; this gives them their printer face and their jobs).
#pragma once

class TWFilm;

void AddFilmCardPrintButton(TWFilm &card);
