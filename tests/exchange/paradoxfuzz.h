// One input of the old-table reader's fuzzing: the bytes of a table, and
// after the line "--MB--" those of its memo file. The reader opens the table
// and reads every record; a damaged table may only be refused with a
// TParadoxError.
#pragma once

#include "exchange/paradoxtable.h"

#include <QByteArray>
#include <QFile>
#include <QString>

inline const QByteArray ParadoxFuzzBlobMark("\n--MB--\n");

// Writes input as dir/"fuzz.DB" (and "fuzz.MB") and reads it; true when
// every record was read, false when the table was refused.
inline bool ReadParadoxFuzzInput(const QByteArray &input, const QString &dir)
{
    const qsizetype mark = input.indexOf(ParadoxFuzzBlobMark);
    const QString table = dir + QStringLiteral("/fuzz.DB"), blobs = dir + QStringLiteral("/fuzz.MB");
    const auto write = [](const QString &path, QByteArrayView bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes.data(), bytes.size());
    };
    write(table, mark < 0 ? QByteArrayView(input) : QByteArrayView(input).first(mark));
    if (mark < 0)
        QFile::remove(blobs);
    else
        write(blobs, QByteArrayView(input).sliced(mark + ParadoxFuzzBlobMark.size()));
    try {
        TParadoxTable t(table);
        for (int r = 0; r < t.recordCount(); ++r) {
            const QVariantList values = t.record(r);
            if (values.size() != t.fields().size())
                abort();
        }
        t.tableDef(QStringLiteral("Film"));
        return true;
    } catch (const TParadoxError &) {
        return false;
    }
}
