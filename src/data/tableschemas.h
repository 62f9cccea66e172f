// The program's tables, defined once: the media, film, person and caption
// tables of a database, and the user label formats of the per-user folder.
#pragma once

#include "engine/tabledef.h"

#include <QString>

// File names of the tables in a database's "DB" folder.
inline const QString MediaTableFile = QStringLiteral("Med.DB");
inline const QString FilmTableFile = QStringLiteral("Film.DB");
inline const QString PersonTableFile = QStringLiteral("Pers.DB");
inline const QString CaptionTableFile = QStringLiteral("LAB.DB");
// The user label formats, in the program folder (template) and the per-user folder.
inline const QString UserLabelsTableFile = QStringLiteral("userlabels2.db");
// The secondary index whose presence means numbering across all media.
inline const QString NrExclIndexName = QStringLiteral("iNrExcl");

// Media table (Med.DB); with numberedAcrossAll it carries "iNrExcl".
engine::TableDef MediaTableDef(bool numberedAcrossAll = false);
// Film table (Film.DB) with "iTitel" and "Kateg"; "iNrExcl" as above.
engine::TableDef FilmTableDef(bool numberedAcrossAll = false);
// Person table (Pers.DB).
engine::TableDef PersonTableDef();
// Caption table (LAB.DB).
engine::TableDef CaptionTableDef();
// User label formats (UserLabels2.DB); without the later "ZF" field when asked.
engine::TableDef UserLabelsTableDef(bool withZF = true);
// The numbering index "iNrExcl": maintained, not unique, case-insensitive,
// on field 2 (Nr of the media table, KassNr of the film table).
engine::IndexDef NrExclIndexDef(bool filmTable);

// Writes the template tables "Def60.Med.DB", "Def60.Film.DB", "Def60.Pers.DB",
// "Def60.LAB.DB" and the user label formats "userlabels2.db" into a folder
// (replacing older ones). The media template holds the medium "VHS-SB" 1, the
// film template its film 1. Throws engine::EngineError.
void CreateTemplateTables(const QString &folder);
