// "Film suchen": the search term with the run's history, the fields to
// search (title, subtitle and, in the wide layout, the sixteen attachment
// fields with their master box) and the match options. It serves the
// quick find, which moves to the first matching film, and the full-text
// search, which lists all matches in the query window.
#pragma once

#include "kit/oberformmetal.h"

#include <QStringList>

#include <array>

class QComboBox;
class TOzoCheck;
class TOzoNewButton;
class QPushButton;

class TDSucheFilm : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDSucheFilm(QWidget *parent = nullptr);

    QComboBox *FilmName;
    TOzoCheck *Titel, *Untertitel;
    std::array<TOzoCheck *, 16> FreeBoxes{}; // CheckBoxFree1..16 (16 is the memo)
    TOzoCheck *CheckBoxFree;                    // the master box "&Anhang-Felder..."
    TOzoCheck *ChkTeil, *ChkGross;              // partial match, letter case
    QPushButton *BtnWide;                       // ">>" / "<<"
    TOzoNewButton *BitBtnOK, *BitBtnCancel, *BitBtnHelp;

    bool Wide() const { return m_wide; }
    void SetWide(bool wide);
    void CheckBoxFreeClick();
    // The master box from the attachment boxes (all, none, some).
    void UpdateMasterBox();
    // Titel, Untertitel, Free1..Free15, Memo.
    std::array<bool, 17> Fields() const;
    QString Term() const;

    // The terms confirmed in this run of the program.
    static QStringList &History();

private:
    bool m_wide = false;
    bool m_settingBoxes = false;
};

// "Suche &Film (Lokalisieren) ...": the quick find.
void ExecFindFilm(QWidget *owner = nullptr);
// "Suche Film(e) (&Abfrage) ...": the full-text search in the query window.
void ExecQueryFilmSearch(QWidget *owner = nullptr);
// The quick find itself: the first film whose checked field matches; the
// film window's table stands on it and the card shows its medium. False
// when none matched.
bool FindFilm(const QString &term, const QStringList &fields, bool caseSensitive, bool partial);
