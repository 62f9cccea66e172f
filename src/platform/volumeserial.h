// The serial number of a disc in a drive. On this platform a disc has no
// volume serial number of its own; its file system's UUID stands for it
// (a FAT-style "ABCD-1234" is taken as the number it spells, any other is
// folded into 32 bits), and where the file system has none, its label and
// size. A drive is a mount point or a device. Stored numbers of discs read
// elsewhere will not match.
#pragma once

#include <QString>

#include <optional>

namespace platform {

// What the system tells about the volume of a drive.
struct VolumeFacts
{
    QString uuid;       // empty when the file system has none
    QString label;
    qint64 bytes = 0;   // total size
};

// Turns the facts into the 32-bit number; none when there is nothing to go by.
std::optional<quint32> SerialFromVolumeFacts(const VolumeFacts &facts);

// Reads the facts of the volume mounted at (or from) a drive. Tests replace it.
class VolumeSerialReader
{
public:
    virtual ~VolumeSerialReader() = default;
    virtual std::optional<VolumeFacts> read(const QString &drive) = 0;
};

// The system's reader: the mount table, /dev/disk/by-uuid and the file system.
class SystemVolumeSerialReader : public VolumeSerialReader
{
public:
    std::optional<VolumeFacts> read(const QString &drive) override;
};

// The reader in force (the system's until one is set; null restores it).
VolumeSerialReader &volumeSerialReader();
void setVolumeSerialReader(VolumeSerialReader *reader);

// The mount points of the mounted volumes that may hold a disc (pseudo file
// systems left out), optical ones first.
QStringList CandidateDrives();

} // namespace platform
