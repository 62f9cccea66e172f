// Reading the Paradox tables of older program versions with pxlib: the
// fields, the records (text in the table's code page, memos and pictures
// from the ".MB" file beside the table) and the password of a protected
// table. The files are opened read-only and never changed. A damaged table
// (fields that do not fit its records, a file that ends before its last
// record) is refused with a German message; nothing is read past what the
// header and the file hold.
#pragma once

#include "engine/tabledef.h"
#include "platform/doscodepages.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

struct px_doc;

// A table that cannot be read: the German text for the user.
class TParadoxError : public std::runtime_error
{
public:
    explicit TParadoxError(const QString &text) : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

struct TParadoxField
{
    QString name;
    int type = 0;   // pxlib's field type (pxfAlpha, ...)
    int length = 0; // bytes in the record
};

// Frees a pxlib document, closing it first when it was opened.
struct TParadoxDocCloser
{
    bool opened = false;
    void operator()(px_doc *doc) const;
};

class TParadoxTable
{
public:
    // Asked for the password of a protected table; empty = cancelled.
    using PasswordPrompt = std::function<QString()>;

    // Opens path read-only; throws TParadoxError when the file is missing,
    // not a Paradox table, damaged, or protected and no right password is
    // given.
    explicit TParadoxTable(const QString &path, const PasswordPrompt &askPassword = {});
    ~TParadoxTable();
    TParadoxTable(const TParadoxTable &) = delete;
    TParadoxTable &operator=(const TParadoxTable &) = delete;

    const QList<TParadoxField> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // any letter case; -1 when absent
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    int recordCount() const { return m_records; }
    int primaryKeyFields() const { return m_keyFields; }

    // Record n (0-based), one value per field: QString, int, bool, QDate,
    // double, QByteArray (pictures); null for an empty field. Throws
    // TParadoxError for a record the file does not hold whole.
    QVariantList record(int n);

    // The fields as a table definition of our store.
    engine::TableDef tableDef(const QString &name) const;

    // The table file's bytes, read once, that pxlib reads its blocks from.
    struct MemoryStream;

private:
    struct FileCloser { void operator()(FILE *f) const { std::fclose(f); } };

    void checkHeader();
    void checkLayout();
    void checkRecordInFile(int n, long recordPos) const;
    QByteArray readBlob(const char *field, int length);
    bool readBlobAt(quint32 place, quint32 size, bool decrypt, QByteArray &data);
    bool readBlobFile(long offset, int length, bool decrypt, QByteArray &out);
    [[noreturn]] void damaged(const QString &why) const;

    // Declared so that the document goes before the files it reads.
    std::unique_ptr<FILE, FileCloser> m_file;
    std::unique_ptr<FILE, FileCloser> m_blob;
    std::unique_ptr<MemoryStream> m_memory;
    std::unique_ptr<px_doc, TParadoxDocCloser> m_doc;
    QString m_path;
    qint64 m_fileSize = 0;
    platform::TextDecoder m_decode = nullptr;
    QList<TParadoxField> m_fields;
    QByteArray m_buffer;
    int m_records = 0;
    int m_keyFields = 0;
    unsigned long m_encryption = 0; // the password's checksum; 0 = not protected
};

// True when the table at path has a field of that name (false when it
// cannot be read).
bool ParadoxTableHasField(const QString &path, const QString &field,
                          const TParadoxTable::PasswordPrompt &askPassword = {});

// The password prompt through the user dialogs.
TParadoxTable::PasswordPrompt ParadoxPasswordPrompt();
