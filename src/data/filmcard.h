// The film card's rules as plain functions: the caption, the sound lists by
// medium kind, the rating items, the duplicate check, the label-relevant
// changes, the person-field decisions, the person lists in batches with
// jump entries, the delete guard and the empty-title close.
#pragma once

#include "app/labelsettings.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace engine {
class Table;
}

// ---- caption and kind-dependent controls -----------------------------------------
// "Filmdaten \b-- Band-Nr. 3, Film-Nr. 2" (\b is the caption's bold switch).
QString FilmWindowCaption(const QString &kind, int kassNr, int filmNr);
// DBChkLP is hidden on a DVD; DBChkFrei shows only beside it and not on a
// bought cassette.
bool FilmLpVisible(const QString &kind);
bool FilmFreiVisible(const QString &kind);

// ---- sound -------------------------------------------------------------------------
struct SoundEntry {
    QString name;
    QChar code;
};
// The list chosen by the first three characters of the kind.
const QList<SoundEntry> &SoundList(const QString &kind);
// The entry whose code is ton; -1 for none.
int SoundIndex(const QString &kind, const QString &ton);

// ---- rating ------------------------------------------------------------------------
// Items "-", "0".."5": item 0 is no rating (null), item i is rating i - 1.
QStringList RatingItems();
int RatingToItem(const QVariant &wertung);
QVariant ItemToRating(int item);

// ---- duplicates ---------------------------------------------------------------------
// A free tape area ("FREIER BEREICH ...") never counts as a duplicate.
bool IsFreeAreaTitle(const QString &title);
// The key of the film being edited, left out of the check (empty kind: none).
struct FilmKey {
    QString kind;
    int kassNr = 0;
    int filmNr = 0;
};
// True when no other film of the table carries this title (and subtitle,
// when one is given). Values are bound, so quotes in a title are harmless.
bool IsFilmUnique(const engine::Table &films, const QString &title, const QString &subtitle,
                  const FilmKey &exclude = {});
// The message of the duplicate button.
QString DuplicateTitleMessage(const QString &subtitle);

// The titles starting with text (letter case ignored), distinct, at most 300.
constexpr int kMaxTitleItems = 300;
QStringList TitleProposals(const engine::Table &films, const QString &text);
// The subtitles stored for a title.
QStringList SubtitlesOfTitle(const engine::Table &films, const QString &title);

// ---- label-relevant changes ----------------------------------------------------------
// The attachment fields of a film: memo, picture, fifteen free fields.
struct FilmAttachmentState {
    bool memoEmpty = true;
    bool pictureEmpty = true;
    bool freeEmpty[15] = {true, true, true, true, true, true, true, true, true, true, true, true, true, true, true};
    bool allEmpty() const;
};
// Whether a change of one field affects the printed label. startMemoEmpty
// and startAllEmpty are taken when editing starts; now holds the record
// after the change.
bool LabelRelevantChange(const QString &fieldName, const TLabelSettings &s, bool startMemoEmpty,
                         bool startAllEmpty, const FilmAttachmentState &now);

// ---- person fields -----------------------------------------------------------------
enum class PersonCheck {
    Nothing,   // a known person, or the name the field held
    AskRename, // a known person's name was changed: TDAskNewPerson
    AskNew,    // an unknown name: add it to the person card file?
};
PersonCheck ClassifyPersonName(const QString &name, const QString &oldName,
                               const std::function<bool(const QString &)> &isPerson);
QString NewPersonQuestion(const QString &caption, const QString &name);

// A jump entry: a letter and "..." ("M...").
bool IsJumpEntry(const QString &text);
// The drop-down list of a person field over the names in name order, built
// in batches of 100 until one holds text (see the film card's rules).
QStringList BuildPersonList(const QStringList &names, const QString &text);

// ---- delete and close --------------------------------------------------------------
extern const QString OnlyFilmMessage;
// A film may be deleted only while the table holds more than one.
bool FilmDeleteAllowed(int filmCount);

enum class EmptyTitleClose { Close, KeepOpen, CancelInsertAndClose, DeleteFilm, CancelEdit };
extern const QString MissingTitleOnInsert;
extern const QString MissingTitleOnEdit;
// The answer to the missing-title question turned into what happens
// (inserting: Yes/No; editing: Yes/No/Cancel).
EmptyTitleClose EmptyTitleCloseAction(bool inserting, int answer);

// The question texts after a change or a delete that affects a printed label.
extern const QString LabelChangedQuestion;
extern const QString FilmDeletedQuestion;

// The folder name proposed for a film's collection folder.
QString FilmFolderName(const QString &title, const QString &subtitle, int fieldSize);

// ---- maintenance ---------------------------------------------------------------------
struct PictureScanResult;
// The picture check of the film attachments: every film picture that does
// not decode is cleared, with the wait box and the closing report. True when
// one was removed.
bool CheckFilmBitmaps(engine::Table &films, const std::function<bool(const QByteArray &)> &decodes,
                      PictureScanResult *result = nullptr);
