// The attachment export: the description of one film, medium or person
// (heading, free fields, memo, for a person the person's films) as a text
// file with optional line wrapping.
#pragma once

#include <QString>
#include <QStringList>

namespace engine {
class DataSet;
}

enum class AttachmentKind { Film, Person, Medium };

struct AttachmentExportOptions {
    QString fileName;
    bool dosCharset = false;
    int wrapWidth = 0;        // "Fixe Anzahl Zeichen pro Zeile:" (30..9999); 0 no wrapping
    bool playTimes = false;   // film: the play time under the heading
    bool personFilms = false; // person: the person's films at the end
};

struct AttachmentExportContext {
    // Captions of free fields 1..n as the record window shows them (with '&');
    // a missing one is the default "Frei&n".
    QStringList freeCaptions;
    int playTimeFormat = 0;
    // Person films: the caption of the side panel and the first column of its list.
    QString filmsCaption;
    QStringList films;
};

// The memo as lines of at most width characters, broken after the last
// blank or hyphen of each line (a line without one is cut hard); the memo's
// own line breaks end a line as well.
QStringList WrapMemo(const QString &memo, int width);

// Writes the current record of the set. False with a German message when
// writing failed.
bool ExportAttachment(AttachmentKind kind, engine::DataSet &record, const AttachmentExportOptions &options,
                      const AttachmentExportContext &context, QString *error = nullptr);
