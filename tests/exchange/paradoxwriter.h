// Writes old Paradox tables for the import tests with pxlib's writer: text
// in Windows-1252, memos and pictures in the ".MB" beside the table, and an
// optional password.
#pragma once

#include "exchange/paradoxlib.h"
#include "platform/cp1252.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QVariant>

#include <cstring>
#include <stdexcept>

struct PxColumn
{
    const char *name;
    int type;    // pxfAlpha, pxfShort, pxfLong, pxfLogical, pxfDate, pxfMemoBLOb, pxfBLOb, pxfGraphic
    int length;  // bytes in the record
};

inline QString PxBlobPath(const QString &dbPath)
{
    return dbPath.left(dbPath.size() - 2) + QStringLiteral("MB");
}

inline bool PxHasBlobs(const QList<PxColumn> &columns)
{
    for (const PxColumn &c : columns)
        if (c.type == pxfMemoBLOb || c.type == pxfBLOb || c.type == pxfGraphic)
            return true;
    return false;
}

// A new table of these columns, open for writing records; a code page
// other than 0 is written into its header (pxlib's own default is 1252).
inline pxdoc_t *PxCreateTable(const QString &path, const QList<PxColumn> &columns, const QByteArray &password,
                              int codePage = 0)
{
    pxdoc_t *doc = PX_new();
    auto *fields = static_cast<pxfield_t *>(doc->malloc(doc, columns.size() * sizeof(pxfield_t), "fields"));
    for (int i = 0; i < columns.size(); ++i) {
        fields[i].px_fname = PX_strdup(doc, columns[i].name);
        fields[i].px_ftype = char(columns[i].type);
        fields[i].px_flen = columns[i].length;
        fields[i].px_fdc = 0;
    }
    QFile::remove(path);
    if (PX_create_file(doc, fields, int(columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) < 0)
        throw std::runtime_error("PX_create_file");
    if (!password.isEmpty())
        PX_set_parameter(doc, "password", password.constData());
    if (codePage)
        PX_set_value(doc, "codepage", float(codePage));
    return doc;
}

// The table as pxlib's writer alone makes it. Text is written in
// Windows-1252; a QByteArray value goes into a text field as it is (text
// of another code page).
inline void WriteParadoxTableWithPxlib(const QString &path, const QList<PxColumn> &columns, const QList<QVariantList> &rows,
                                       const QByteArray &password = QByteArray(), int codePage = 0);

// pxlib's writer leaves the blob file of a protected table in plain text
// (and misplaces its small blobs then), where the old program encrypted its
// blocks as it did the data blocks. Such a table is written plain first;
// then pxlib's writer copies the records with the password, and the blob
// file's blocks after its header are encrypted with pxlib's cipher.
inline void WriteProtectedParadoxTableWithBlobs(const QString &path, const QList<PxColumn> &columns,
                                                const QList<QVariantList> &rows, const QByteArray &password)
{
    const QString plain = QFileInfo(path).path() + QStringLiteral("/plain-copy.DB");
    WriteParadoxTableWithPxlib(plain, columns, rows);
    pxdoc_t *source = PX_new();
    if (PX_open_file(source, QFile::encodeName(plain).constData()) < 0)
        throw std::runtime_error("PX_open_file");
    pxdoc_t *doc = PxCreateTable(path, columns, password);
    QByteArray buffer(PX_get_recordsize(doc), '\0');
    for (int r = 0; r < PX_get_num_records(source); ++r) {
        if (!PX_get_record(source, r, buffer.data()) || PX_put_record(doc, buffer.data()) < 0)
            throw std::runtime_error("copying a record");
    }
    const unsigned long encryption = static_cast<unsigned long>(doc->px_head->px_encryption);
    PX_close(doc);
    PX_delete(doc);
    PX_close(source);
    PX_delete(source);
    QFile plainBlobs(PxBlobPath(plain));
    if (!plainBlobs.open(QIODevice::ReadOnly))
        throw std::runtime_error("blob file");
    QByteArray bytes = plainBlobs.readAll();
    plainBlobs.close();
    constexpr int block = 4096; // the old program wrote whole blocks
    if (bytes.size() % block)
        bytes.append(QByteArray(block - bytes.size() % block, '\0'));
    QByteArray cipher = bytes;
    auto *at = reinterpret_cast<unsigned char *>(cipher.data()) + block;
    px_encrypt_mb_block(reinterpret_cast<unsigned char *>(bytes.data()) + block, at, encryption,
                        static_cast<unsigned long>(bytes.size() - block));
    QFile blobs(PxBlobPath(path));
    if (!blobs.open(QIODevice::WriteOnly | QIODevice::Truncate) || blobs.write(cipher) != cipher.size())
        throw std::runtime_error("blob file");
    QFile::remove(plain);
    QFile::remove(PxBlobPath(plain));
}

inline void WriteParadoxTable(const QString &path, const QList<PxColumn> &columns, const QList<QVariantList> &rows,
                              const QByteArray &password = QByteArray())
{
    if (PxHasBlobs(columns) && !password.isEmpty())
        WriteProtectedParadoxTableWithBlobs(path, columns, rows, password);
    else
        WriteParadoxTableWithPxlib(path, columns, rows, password);
}

inline void WriteParadoxTableWithPxlib(const QString &path, const QList<PxColumn> &columns, const QList<QVariantList> &rows,
                                       const QByteArray &password, int codePage)
{
    pxdoc_t *doc = PxCreateTable(path, columns, password, codePage);
    if (PxHasBlobs(columns)) {
        QFile::remove(PxBlobPath(path));
        if (PX_set_blob_file(doc, QFile::encodeName(PxBlobPath(path)).constData()) < 0)
            throw std::runtime_error("PX_set_blob_file");
    }
    QByteArray buffer(PX_get_recordsize(doc), '\0');
    for (const QVariantList &row : rows) {
        buffer.fill('\0');
        char *p = buffer.data();
        for (int i = 0; i < columns.size(); ++i) {
            const PxColumn &c = columns[i];
            const QVariant v = i < row.size() ? row[i] : QVariant();
            if (!v.isNull()) {
                switch (c.type) {
                case pxfAlpha: {
                    QByteArray b = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : platform::toCp1252(v.toString());
                    PX_put_data_alpha(doc, p, c.length, b.data());
                    break;
                }
                case pxfShort: PX_put_data_short(doc, p, c.length, short(v.toInt())); break;
                case pxfLong: PX_put_data_long(doc, p, c.length, v.toInt()); break;
                case pxfLogical: PX_put_data_byte(doc, p, c.length, v.toBool() ? 1 : 0); break;
                case pxfDate: {
                    const QDate d = v.toDate();
                    PX_put_data_long(doc, p, c.length, int(PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425));
                    break;
                }
                default: {
                    QByteArray b = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : platform::toCp1252(v.toString());
                    PX_put_data_blob(doc, p, c.length, b.data(), int(b.size()));
                    break;
                }
                }
            }
            p += c.length;
        }
        if (PX_put_record(doc, buffer.data()) < 0)
            throw std::runtime_error("PX_put_record");
    }
    PX_close(doc);
    PX_delete(doc);
}

// The bytes of every file of a folder, hashed: the old files stay as they are.
inline QByteArray FolderHash(const QString &folder)
{
    QCryptographicHash h(QCryptographicHash::Sha256);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &f : files) {
        QFile file(f.filePath());
        if (file.open(QIODevice::ReadOnly)) {
            h.addData(f.fileName().toUtf8());
            h.addData(file.readAll());
        }
        h.addData(QByteArray::number(int(f.permissions())));
    }
    return h.result().toHex();
}
