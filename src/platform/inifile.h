// INI files as the program's text files have them: Windows-1252 with CR LF,
// section and key names compared without regard to case, and every line kept
// as written (order, duplicates, comments, and values holding ';', ',' or
// "\lb"). Writing a value touches only the line of that value.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace platform {

class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString &fileName) : m_fileName(fileName) {}

    // Reads the file; a missing file is an empty one. False and a German
    // message only when an existing file cannot be read.
    bool load(QString *error = nullptr);
    bool save(QString *error = nullptr) const;

    void setBytes(const QByteArray &bytes);
    QByteArray toBytes() const;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }
    const QStringList &lines() const { return m_lines; }

    QStringList sections() const;
    bool sectionExists(const QString &section) const;
    // Keys of a section in file order; a key written twice is listed twice.
    QStringList keys(const QString &section) const;
    // Key and value of every entry of a section, in file order.
    QList<QPair<QString, QString>> sectionValues(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;

    // The first entry of the key in the first section of that name.
    QString readString(const QString &section, const QString &key, const QString &def = {}) const;
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);

    void deleteKey(const QString &section, const QString &key);
    void eraseSection(const QString &section);

private:
    // Line range [begin, end) of the body of the first section of that name;
    // begin == -1 when there is none.
    QPair<int, int> sectionBody(const QString &section) const;
    int findEntry(const QString &section, const QString &key) const;

    QString m_fileName;
    QStringList m_lines;
};

// Parses "[name]" (blanks around allowed); empty optional otherwise.
bool parseIniSection(const QString &line, QString *name);
// Parses "key=value" of a line that is no comment; key and value trimmed.
bool parseIniEntry(const QString &line, QString *key, QString *value);

} // namespace platform
