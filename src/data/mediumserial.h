// The disc serial number of a medium (field "SN", a signed 32-bit number):
// reading it from a drive and finding the media that carry it.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace engine {
class Table;
}

// The unsigned volume serial number as the signed field stores it (a number
// above 2147483647 becomes negative).
qint32 SignedSerial(quint32 serial);

// True when the system reports the volume of the drive (a mount point or a
// device); serial is then its number as stored.
bool ReadVolumeSerial(const QString &drive, qint32 &serial);

struct TSerialMedium
{
    QString kind;
    int nr = 0;
    QString film1;  // title of film 1, empty for a medium without one
};

// The media with their first film whose SN is serial.
QStringList SerialMediaSql(const QString &mediaPath, const QString &filmPath, qint32 serial);

// The media carrying serial: those with a film 1 from the joined query, else
// those of the media table alone. Throws engine::EngineError.
QList<TSerialMedium> FindMediaBySerial(const engine::Table &media, const QString &filmPath, qint32 serial);
