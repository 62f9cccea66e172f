#include "platform/volumeserial.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace platform {

namespace {

VolumeSerialReader *g_reader = nullptr;

// FNV-1a: a fixed fold, so that one disc gives the same number on every run.
quint32 fold(const QByteArray &bytes)
{
    quint32 h = 2166136261u;
    for (const char c : bytes) {
        h ^= quint8(c);
        h *= 16777619u;
    }
    return h;
}

bool isPseudo(const QByteArray &type)
{
    static const char *const pseudo[] = {"proc", "sysfs", "tmpfs", "devtmpfs", "devpts", "cgroup", "cgroup2",
                                         "overlay", "squashfs", "mqueue", "debugfs", "tracefs", "securityfs",
                                         "pstore", "bpf", "autofs", "fusectl", "configfs", "hugetlbfs",
                                         "binfmt_misc", "ramfs", "nsfs", "efivarfs", "rpc_pipefs"};
    for (const char *p : pseudo)
        if (type == p)
            return true;
    return false;
}

bool isOptical(const QByteArray &type)
{
    return type == "iso9660" || type == "udf";
}

// The volume of a drive: the mount point itself, or the volume mounted from
// the device.
std::optional<QStorageInfo> volumeOf(const QString &drive)
{
    if (drive.isEmpty())
        return std::nullopt;
    if (drive.startsWith(QLatin1String("/dev/"))) {
        const QString dev = QFileInfo(drive).canonicalFilePath();
        for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
            const QString vd = QFileInfo(QString::fromLocal8Bit(v.device())).canonicalFilePath();
            if (!dev.isEmpty() && vd == dev)
                return v;
        }
        return std::nullopt;
    }
    const QStorageInfo v(drive);
    if (!v.isValid() || !v.isReady())
        return std::nullopt;
    // A plain folder of another volume is not the drive.
    if (QDir(v.rootPath()).canonicalPath() != QDir(drive).canonicalPath())
        return std::nullopt;
    return v;
}

QString uuidOfDevice(const QString &device)
{
    const QString dev = QFileInfo(device).canonicalFilePath();
    if (dev.isEmpty())
        return {};
    const QDir byUuid(QStringLiteral("/dev/disk/by-uuid"));
    for (const QFileInfo &link : byUuid.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (link.canonicalFilePath() == dev)
            return link.fileName();
    return {};
}

} // namespace

std::optional<quint32> SerialFromVolumeFacts(const VolumeFacts &f)
{
    const QString uuid = f.uuid.trimmed();
    if (!uuid.isEmpty()) {
        // The FAT and exFAT form is the volume serial number itself.
        if (uuid.size() == 9 && uuid.at(4) == QLatin1Char('-')) {
            bool ok = true;
            const quint32 n = QString(uuid.left(4) + uuid.mid(5)).toUInt(&ok, 16);
            if (ok)
                return n;
        }
        return fold(uuid.toUpper().toUtf8());
    }
    if (f.label.isEmpty() && f.bytes <= 0)
        return std::nullopt;
    return fold(f.label.toUtf8() + '\n' + QByteArray::number(f.bytes));
}

std::optional<VolumeFacts> SystemVolumeSerialReader::read(const QString &drive)
{
    const std::optional<QStorageInfo> v = volumeOf(drive);
    if (!v)
        return std::nullopt;
    VolumeFacts f;
    f.uuid = uuidOfDevice(QString::fromLocal8Bit(v->device()));
    f.label = v->name();
    f.bytes = v->bytesTotal();
    return f;
}

VolumeSerialReader &volumeSerialReader()
{
    static SystemVolumeSerialReader system;
    return g_reader ? *g_reader : system;
}

void setVolumeSerialReader(VolumeSerialReader *reader)
{
    g_reader = reader;
}

QStringList CandidateDrives()
{
    QStringList optical, other;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || isPseudo(v.fileSystemType()))
            continue;
        (isOptical(v.fileSystemType()) ? optical : other) << v.rootPath();
    }
    return optical + other;
}

} // namespace platform
