// Two repairs every record table offers: the primary index rebuilt when it
// has gone missing, and the pictures that no longer decode cleared. The film
// table, the media table and the person table each call them with their own
// words.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace engine {
class Table;
}

struct TIndexRepairTexts
{
    QString missing; // "... scheint zu fehlen! ..." (caption "Nicht-schwerer Fehler")
    QString rebuilt; // caption "Erfolg"
    QString failed;  // caption "Datenbank-Fehler", the engine's message follows
};

// When the open table has lost its primary index: says so, closes the second
// cursor (when given and open), rebuilds the index over the first keyFields
// fields, opens the second cursor again and says how it went. The rebuild
// reopens the table, so a repair never runs inside another. True when the
// table has its index afterwards. No record is lost either way: a rebuild
// that fails (two records with one key) leaves the table as it was.
bool RepairPrimaryIndexOf(engine::Table &table, int keyFields, const TIndexRepairTexts &texts,
                          engine::Table *second = nullptr);

struct PictureScanResult {
    int checked = 0;
    int invalid = 0;
    int removed = 0;
};

struct TPictureScanTexts
{
    QString waiting;      // the wait box
    QString pictures;     // "Film-Grafiken" in the closing report
    QString openFailed;   // the query cannot be opened
    QString removeFailed; // clearing an invalid picture failed
};

// Walks the records whose "Grafik" is set (the wait box counts them), clears
// each picture that decodes refuses, in one transaction, and reports
// "Es wurden n ... überprüft, davon wurden i als ungültig erkannt und r
// erfolgreich gelöscht!" (caption "Fertig"). keyFields name the fields that
// find a record. Errors: caption "Interner Fehler". True when a picture was
// removed.
bool ScanTablePictures(engine::Table &table, const QStringList &keyFields, const TPictureScanTexts &texts,
                       const std::function<bool(const QByteArray &)> &decodes, PictureScanResult *result = nullptr);
