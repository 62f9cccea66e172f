#include "platform/textfile.h"

#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::optional<QByteArray> readFileBytes(const QString &path, QString *error, qint64 maxBytes)
{
    auto fail = [&](const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden: %2").arg(path, why);
        return std::nullopt;
    };
    // Opened without blocking, so that a FIFO put in a file's place cannot
    // hold the program; what was opened is then checked, not the name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("Sie ist keine gewöhnliche Datei."));
    }
    if (st.st_size > maxBytes) {
        ::close(fd);
        return fail(QStringLiteral("Sie ist mit %1 Bytes zu groß (höchstens %2).")
                        .arg(qint64(st.st_size)).arg(maxBytes));
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            return fail(QString::fromLocal8Bit(std::strerror(e)));
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (bytes.size() + n > maxBytes) {
            ::close(fd);
            return fail(QStringLiteral("Sie ist zu groß (höchstens %1 Bytes).").arg(maxBytes));
        }
        bytes.append(buf, n);
    }
    ::close(fd);
    return bytes;
}

bool writeFileBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                         .arg(path, f.errorString());
        return false;
    }
    return true;
}

QStringList splitCp1252Lines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\n')
            continue;
        qsizetype end = i;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.append(fromCp1252(QByteArrayView(bytes).sliced(start, end - start)));
        start = i + 1;
    }
    if (start < n)
        lines.append(fromCp1252(QByteArrayView(bytes).sliced(start)));
    return lines;
}

QByteArray joinCp1252Lines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += toCp1252(line);
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> readTextLines(const QString &path, QString *error)
{
    auto bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return splitCp1252Lines(*bytes);
}

bool writeTextLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeFileBytes(path, joinCp1252Lines(lines), error);
}

} // namespace platform
