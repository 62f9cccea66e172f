#include "data/mediumserial.h"

#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "platform/volumeserial.h"

qint32 SignedSerial(quint32 serial)
{
    return qint32(serial);
}

bool ReadVolumeSerial(const QString &drive, qint32 &serial)
{
    const std::optional<platform::VolumeFacts> facts = platform::volumeSerialReader().read(drive);
    if (!facts)
        return false;
    const std::optional<quint32> n = platform::SerialFromVolumeFacts(*facts);
    if (!n)
        return false;
    serial = SignedSerial(*n);
    return true;
}

QStringList SerialMediaSql(const QString &mediaPath, const QString &filmPath, qint32 serial)
{
    return {QStringLiteral("SELECT M.Medium, M.Nr, F.Titel AS Film1"),
            QStringLiteral("FROM ") + SQLTableRef(mediaPath) + QStringLiteral(" M, "),
            SQLTableRef(filmPath) + QStringLiteral(" F"),
            QStringLiteral("WHERE M.Medium=F.Medium AND M.Nr=F.KassNr AND F.FilmNr=1"),
            QStringLiteral("AND M.SN=") + QString::number(serial)};
}

QList<TSerialMedium> FindMediaBySerial(const engine::Table &media, const QString &filmPath, qint32 serial)
{
    QList<TSerialMedium> found;
    auto run = [&found](const QStringList &sql, bool withFilm) {
        engine::Query q;
        q.setSql(sql);
        q.open();
        for (q.first(); !q.eof(); q.next())
            found.append({q.field(0)->asString(), q.field(1)->asInteger(),
                          withFilm ? q.field(2)->asString() : QString()});
        q.close();
    };
    if (!filmPath.isEmpty())
        run(SerialMediaSql(media.tableName(), filmPath, serial), true);
    if (found.isEmpty())
        run({QStringLiteral("SELECT Medium, Nr FROM"), SQLTableRef(media.tableName()),
             QStringLiteral("WHERE SN=") + QString::number(serial)},
            false);
    return found;
}
