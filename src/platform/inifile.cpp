#include "platform/inifile.h"

#include "platform/textfile.h"

#include <QFileInfo>

namespace platform {

bool parseIniSection(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool parseIniEntry(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#') || t.startsWith(u'['))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return false;
    if (key)
        *key = t.left(eq).trimmed();
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

bool IniFile::load(QString *error)
{
    m_lines.clear();
    if (!QFileInfo::exists(m_fileName))
        return true;
    auto lines = readTextLines(m_fileName, error);
    if (!lines)
        return false;
    m_lines = *lines;
    return true;
}

bool IniFile::save(QString *error) const
{
    return writeTextLines(m_fileName, m_lines, error);
}

void IniFile::setBytes(const QByteArray &bytes)
{
    m_lines = splitCp1252Lines(bytes);
}

QByteArray IniFile::toBytes() const
{
    return joinCp1252Lines(m_lines);
}

QStringList IniFile::sections() const
{
    QStringList out;
    QString name;
    for (const QString &l : m_lines)
        if (parseIniSection(l, &name))
            out.append(name);
    return out;
}

bool IniFile::sectionExists(const QString &section) const
{
    return sectionBody(section).first >= 0;
}

QPair<int, int> IniFile::sectionBody(const QString &section) const
{
    QString name;
    for (int i = 0; i < m_lines.size(); ++i) {
        if (!parseIniSection(m_lines[i], &name) || name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        int end = i + 1;
        while (end < m_lines.size() && !parseIniSection(m_lines[end], nullptr))
            ++end;
        return {i + 1, end};
    }
    return {-1, -1};
}

QList<QPair<QString, QString>> IniFile::sectionValues(const QString &section) const
{
    QList<QPair<QString, QString>> out;
    const auto [begin, end] = sectionBody(section);
    QString k, v;
    for (int i = begin; i >= 0 && i < end; ++i)
        if (parseIniEntry(m_lines[i], &k, &v))
            out.append({k, v});
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    for (const auto &kv : sectionValues(section))
        out.append(kv.first);
    return out;
}

int IniFile::findEntry(const QString &section, const QString &key) const
{
    const auto [begin, end] = sectionBody(section);
    QString k;
    for (int i = begin; i >= 0 && i < end; ++i)
        if (parseIniEntry(m_lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return findEntry(section, key) >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    const int i = findEntry(section, key);
    if (i < 0)
        return def;
    QString v;
    parseIniEntry(m_lines[i], nullptr, &v);
    return v;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    const QString s = readString(section, key);
    bool ok = false;
    int v = 0;
    if (s.startsWith(u'$'))
        v = s.mid(1).toInt(&ok, 16);
    else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = s.mid(2).toInt(&ok, 16);
    else
        v = s.toInt(&ok);
    return ok ? v : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString entry = key + u'=' + value;
    const int i = findEntry(section, key);
    if (i >= 0) {
        // Keep the key as it was spelt in the file.
        QString written;
        parseIniEntry(m_lines[i], &written, nullptr);
        m_lines[i] = written + u'=' + value;
        return;
    }
    const auto [begin, end] = sectionBody(section);
    if (begin < 0) {
        m_lines.append(u'[' + section + u']');
        m_lines.append(entry);
        return;
    }
    // After the section's last non-blank line, so blank separators stay in place.
    int at = end;
    while (at > begin && m_lines[at - 1].trimmed().isEmpty())
        --at;
    m_lines.insert(at, entry);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString &section, const QString &key)
{
    const int i = findEntry(section, key);
    if (i >= 0)
        m_lines.removeAt(i);
}

void IniFile::eraseSection(const QString &section)
{
    const auto [begin, end] = sectionBody(section);
    if (begin < 0)
        return;
    m_lines.erase(m_lines.begin() + (begin - 1), m_lines.begin() + end);
}

} // namespace platform
