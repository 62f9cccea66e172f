#include "exchange/paradoxtable.h"

#include "engine/session.h"
#include "platform/cp1252.h"
#include "platform/userdialogs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "exchange/paradoxlib.h"

#include <algorithm>
#include <cstring>

namespace {

// pxlib reports through this handler; its errors surface as failed calls.
void quietErrors(pxdoc_t *, int, const char *, void *) {}

// pxlib seeks before every record it reads; on a file stream each of those
// is a system call or two. It reads from the table's bytes in memory instead.
TParadoxTable::MemoryStream *memoryOf(pxdoc_t *p)
{
    return static_cast<TParadoxTable::MemoryStream *>(p->errorhandler_user_data);
}

} // namespace

struct TParadoxTable::MemoryStream {
    QByteArray bytes;
    long pos = 0;
};

namespace {

size_t memoryRead(pxdoc_t *p, pxstream_t *, size_t numbytes, void *buffer)
{
    TParadoxTable::MemoryStream *m = memoryOf(p);
    const long size = long(m->bytes.size());
    if (m->pos < 0 || m->pos >= size)
        return 0;
    const size_t n = std::min(numbytes, size_t(size - m->pos));
    std::memcpy(buffer, m->bytes.constData() + m->pos, n);
    m->pos += long(n);
    return n;
}

int memorySeek(pxdoc_t *p, pxstream_t *, long offset, int whence)
{
    TParadoxTable::MemoryStream *m = memoryOf(p);
    const long base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? long(m->bytes.size()) : 0;
    if (base + offset < 0)
        return -1;
    m->pos = base + offset;
    return 0;
}

long memoryTell(pxdoc_t *p, pxstream_t *)
{
    return memoryOf(p)->pos;
}

engine::FieldType fieldTypeOf(int pxType)
{
    using engine::FieldType;
    switch (pxType) {
    case pxfAlpha: return FieldType::String;
    case pxfDate: return FieldType::Date;
    case pxfShort: return FieldType::SmallInt;
    case pxfLong:
    case pxfAutoInc: return FieldType::Integer;
    case pxfLogical: return FieldType::Boolean;
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb: return FieldType::Memo;
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic:
    case pxfBytes: return FieldType::Graphic;
    default: return FieldType::Float; // number, currency, BCD, time, timestamp
    }
}

// The bytes a field of the type takes in a record: the size of a number,
// or (negative) the least a text or blob field takes; 0 for a type that no
// table has.
int fieldLength(int pxType)
{
    switch (pxType) {
    case pxfLogical: return 1;
    case pxfShort: return 2;
    case pxfDate:
    case pxfLong:
    case pxfAutoInc:
    case pxfTime: return 4;
    case pxfCurrency:
    case pxfNumber:
    case pxfTimestamp: return 8;
    case pxfBCD: return 17;
    case pxfAlpha:
    case pxfBytes: return -1;
    case pxfMemoBLOb:
    case pxfFmtMemoBLOb:
    case pxfBLOb:
    case pxfOLE:
    case pxfGraphic: return -10; // the blob's place, length and number
    default: return 0;
    }
}

QString blobPathOf(const QString &path)
{
    const QFileInfo info(path);
    const QString stem = info.fileName().left(info.fileName().size() - info.suffix().size());
    // "Videos.Film.DB" -> "Videos.Film.MB" (either case of the suffix)
    for (const char *ext : {"MB", "mb"}) {
        const QString p = info.path() + QLatin1Char('/') + stem + QLatin1String(ext);
        if (QFile::exists(p))
            return p;
    }
    return QString();
}

} // namespace

void TParadoxDocCloser::operator()(px_doc *doc) const
{
    if (opened)
        PX_close(doc);
    PX_delete(doc);
}

TParadoxTable::TParadoxTable(const QString &path, const PasswordPrompt &askPassword) : m_path(path)
{
    const QString name = QFileInfo(path).fileName();
    m_file.reset(std::fopen(QFile::encodeName(path).constData(), "rb"));
    if (!m_file)
        throw TParadoxError(QStringLiteral("Die Tabelle \"%1\" lässt sich nicht öffnen.").arg(path));
    m_fileSize = QFileInfo(path).size();
    checkHeader();
    m_doc.reset(PX_new2(quietErrors, nullptr, nullptr, nullptr));
    if (!m_doc || PX_open_fp(m_doc.get(), m_file.get()) < 0 || !m_doc->px_head)
        throw TParadoxError(QStringLiteral("Die Datei \"%1\" ist keine lesbare Paradox-Tabelle einer älteren Tarvo-Version.").arg(path));
    m_doc.get_deleter().opened = true;
    pxhead_t *head = m_doc->px_head;
    if (head->px_encryption != 0) {
        // pxlib decrypts by itself; the password is still the owner's to give.
        // One given for another table is tried first and a new one kept, as
        // the engine does for its tables: the tables of one old database
        // ask once.
        const auto fits = [head](const QString &pw) {
            return quint32(px_passwd_checksum(platform::toCp1252(pw).constData())) == quint32(head->px_encryption);
        };
        engine::Session &session = engine::Session::instance();
        const QStringList known = session.passwords();
        bool ok = std::any_of(known.begin(), known.end(), fits);
        while (!ok) {
            const QString pw = askPassword ? askPassword() : QString();
            if (pw.isEmpty())
                break;
            ok = fits(pw);
            if (ok)
                session.addPassword(pw);
        }
        if (!ok)
            throw TParadoxError(QStringLiteral("Die Tabelle \"%1\" ist durch ein Passwort geschützt; ohne das richtige Passwort kann sie nicht gelesen werden.").arg(name));
    }
    m_encryption = static_cast<unsigned long>(head->px_encryption);
    // One decoder for the table, chosen by the code page its header names.
    m_decode = platform::decoderForCodePage(head->px_doscodepage);
    checkLayout();
    bool hasBlobs = false;
    for (const TParadoxField &field : std::as_const(m_fields))
        hasBlobs = hasBlobs || fieldTypeOf(field.type) == engine::FieldType::Memo
                   || fieldTypeOf(field.type) == engine::FieldType::Graphic;
    if (hasBlobs) {
        const QString blob = blobPathOf(path);
        if (!blob.isEmpty()) {
            // pxlib's own blob reader overruns its stack on the files its
            // writer makes; we read the ".MB" blocks ourselves.
            m_blob.reset(std::fopen(QFile::encodeName(blob).constData(), "rb"));
        }
    }
    // From here on pxlib only reads: the records come from the bytes in memory.
    QFile bytes(path);
    if (bytes.open(QIODevice::ReadOnly)) {
        auto memory = std::make_unique<MemoryStream>();
        memory->bytes = bytes.readAll();
        memory->pos = std::ftell(m_file.get());
        if (memory->bytes.size() == bytes.size() && memory->pos >= 0) {
            m_memory = std::move(memory);
            m_doc->errorhandler_user_data = m_memory.get();
            m_doc->px_stream->read = memoryRead;
            m_doc->px_stream->seek = memorySeek;
            m_doc->px_stream->tell = memoryTell;
        }
    }
}

TParadoxTable::~TParadoxTable() = default;

// What pxlib takes from the header without a check of its own: a number of
// fields no table has sends it through a long loop, and it follows the
// chain of data blocks from block to block: a chain that loops, or leads
// out of the file, would keep it there for ever.
void TParadoxTable::checkHeader()
{
    const auto notATable = [this] {
        return TParadoxError(QStringLiteral("Die Datei \"%1\" ist keine lesbare Paradox-Tabelle einer älteren Tarvo-Version.").arg(m_path));
    };
    FILE *f = m_file.get();
    const auto readAt = [f](qint64 offset, unsigned char *into, size_t size) {
        return std::fseek(f, long(offset), SEEK_SET) == 0 && std::fread(into, 1, size, f) == size;
    };
    unsigned char h[0x78];
    const bool read = readAt(0, h, sizeof h);
    if (!read)
        throw notATable();
    const auto le16 = [&h](int at) { return int(h[at] | h[at + 1] << 8); };
    const int headerSize = le16(2);
    const int fields = le16(0x21);
    const qint64 blockSize = qint64(h[5]) * 1024;
    if (fields < 1 || fields > 255 || blockSize < 1024 || blockSize > 32 * 1024 || headerSize < int(sizeof h) + 2 * fields
        || headerSize > m_fileSize)
        damaged(QStringLiteral("ihr Dateikopf ist unvollständig oder nennt unmögliche Werte."));
    // The key of a protected table, read as pxlib reads it: its first field,
    // unless that holds the mark 0xFF00FF00, which from version 4.0 of the
    // format on points to the second field in the header's later part.
    // Before 4.0 there is no second field, and the mark is damage: pxlib
    // would take the key from memory it never filled.
    const int version = h[0x39];
    const auto le32 = [&](int at) { return quint32(le16(at)) | quint32(le16(at + 2)) << 16; };
    unsigned long encryption = le32(0x25);
    if (version < 3 || version > 12 || (encryption == 0xff00ff00u && version < 5))
        damaged(QStringLiteral("ihr Dateikopf ist unvollständig oder nennt unmögliche Werte."));
    if (encryption == 0xff00ff00u)
        encryption = le32(0x5c);
    const qint64 blocksInFile = (m_fileSize - headerSize) / blockSize;
    QSet<int> seen;
    for (int block = le16(0x0e); block != 0;) {
        if (seen.contains(block))
            damaged(QStringLiteral("die Kette ihrer Datenblöcke führt im Kreis."));
        if (block > blocksInFile)
            damaged(QStringLiteral("die Datei endet vor dem Ende ihres Datenblocks %1; sie ist unvollständig.").arg(block));
        seen.insert(block);
        // A block begins with the number of the next one; in a protected
        // table its first 256 bytes are enciphered as one piece.
        unsigned char head[256];
        if (!readAt(headerSize + (block - 1) * blockSize, head, sizeof head))
            damaged(QStringLiteral("ihr Datenblock %1 lässt sich nicht lesen.").arg(block));
        if (encryption != 0) {
            unsigned char plain[256];
            px_decrypt_db_block(head, plain, encryption, sizeof head, static_cast<unsigned long>(block));
            std::memcpy(head, plain, sizeof head);
        }
        block = head[0] | head[1] << 8;
    }
    std::rewind(f);
}

void TParadoxTable::damaged(const QString &why) const
{
    throw TParadoxError(QStringLiteral("Die Tabelle \"%1\" ist beschädigt: %2 Sie wird nicht übernommen.")
                            .arg(QDir::toNativeSeparators(m_path), why));
}

// The header against its fields and the file: every field has the size of
// its type and all of them fit into a record; the file holds the last of
// the records the header counts.
void TParadoxTable::checkLayout()
{
    const pxhead_t *head = m_doc->px_head;
    const int recordSize = head->px_recordsize;
    if (recordSize <= 0 || head->px_numfields <= 0 || !head->px_fields)
        damaged(QStringLiteral("ihr Kopf beschreibt keine Datensätze."));
    qint64 used = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t &f = head->px_fields[i];
        TParadoxField field;
        field.name = f.px_fname ? m_decode(QByteArrayView(f.px_fname, qsizetype(std::strlen(f.px_fname)))) : QString();
        field.type = static_cast<unsigned char>(f.px_ftype);
        field.length = f.px_flen;
        const int wanted = fieldLength(field.type);
        if (field.name.isEmpty() || wanted == 0 || (wanted > 0 && field.length != wanted)
            || (wanted < 0 && (field.length < -wanted || field.length > 255)))
            damaged(QStringLiteral("ihr Feld Nr. %1 (\"%2\") hat einen unbekannten Typ oder eine unmögliche Länge.")
                        .arg(i + 1)
                        .arg(field.name));
        used += field.length;
        m_fields.append(field);
    }
    if (used > recordSize)
        damaged(QStringLiteral("ihre Felder belegen %1 Bytes, ein Datensatz hat laut Dateikopf aber nur %2.")
                    .arg(used)
                    .arg(recordSize));
    m_keyFields = head->px_primarykeyfields;
    if (m_keyFields < 0 || m_keyFields > m_fields.size())
        damaged(QStringLiteral("ihr Schlüssel hat mehr Felder als die Tabelle."));
    m_records = head->px_numrecords;
    if (m_records < 0)
        damaged(QStringLiteral("ihre Zahl von Datensätzen ist unmöglich."));
    m_buffer.resize(recordSize);
    if (m_records > 0) {
        // A file cut short loses its last records first.
        int deleted = 0;
        pxdatablockinfo_t info{};
        if (PX_get_record2(m_doc.get(), m_records - 1, m_buffer.data(), &deleted, &info) == nullptr)
            damaged(QStringLiteral("die Datei endet vor dem letzten ihrer %1 Datensätze.").arg(m_records));
        checkRecordInFile(m_records - 1, info.recordpos);
    }
}

void TParadoxTable::checkRecordInFile(int n, long recordPos) const
{
    if (recordPos < 0 || qint64(recordPos) + m_buffer.size() > m_fileSize)
        damaged(n + 1 == m_records ? QStringLiteral("die Datei endet vor dem Ende des letzten ihrer %1 Datensätze.").arg(m_records)
                                   : QStringLiteral("die Datei endet vor dem Ende ihres Datensatzes %1.").arg(n + 1));
}

int TParadoxTable::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariantList TParadoxTable::record(int n)
{
    char *data = m_buffer.data();
    int deleted = 0;
    pxdatablockinfo_t info{};
    if (n < 0 || n >= m_records || !PX_get_record2(m_doc.get(), n, data, &deleted, &info))
        throw TParadoxError(QStringLiteral("Datensatz %1 der Tabelle \"%2\" ist nicht lesbar.").arg(n + 1).arg(QFileInfo(m_path).fileName()));
    checkRecordInFile(n, info.recordpos);
    QVariantList values;
    values.reserve(m_fields.size());
    int offset = 0;
    // checkLayout saw every field fit into the record and have its type's size.
    for (const TParadoxField &f : std::as_const(m_fields)) {
        char *p = data + offset;
        offset += f.length;
        QVariant v;
        // An empty field is all zero bytes, whatever its type; numbers of
        // pxlib would read it as the smallest value.
        if (std::all_of(p, p + f.length, [](char c) { return c == 0; })) {
            values.append(v);
            continue;
        }
        switch (f.type) {
        case pxfAlpha:
            v = m_decode(QByteArrayView(p, qsizetype(strnlen(p, size_t(f.length)))));
            break;
        case pxfDate: {
            long d = 0;
            if (PX_get_data_long(m_doc.get(), p, f.length, &d) > 0 && d > 0) {
                int y = 0, m = 0, day = 0;
                PX_SdnToGregorian(d + 1721425, &y, &m, &day);
                const QDate date(y, m, day);
                if (date.isValid())
                    v = date;
            }
            break;
        }
        case pxfShort: {
            short s = 0;
            if (PX_get_data_short(m_doc.get(), p, f.length, &s) > 0)
                v = int(s);
            break;
        }
        case pxfLong:
        case pxfAutoInc: {
            long l = 0;
            if (PX_get_data_long(m_doc.get(), p, f.length, &l) > 0)
                v = int(l);
            break;
        }
        case pxfLogical: {
            char b = 0;
            if (PX_get_data_byte(m_doc.get(), p, f.length, &b) > 0)
                v = b != 0;
            break;
        }
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
        case pxfBLOb:
        case pxfOLE:
        case pxfGraphic: {
            QByteArray bytes = readBlob(p, f.length);
            if (f.type == pxfGraphic && bytes.size() > 8)
                bytes.remove(0, 8); // a picture starts with a header of its own
            if (!bytes.isEmpty()) {
                if (fieldTypeOf(f.type) == engine::FieldType::Memo)
                    v = m_decode(bytes.endsWith('\0') ? bytes.chopped(1) : bytes);
                else
                    v = bytes;
            }
            break;
        }
        case pxfBytes: {
            v = QByteArray(p, f.length);
            break;
        }
        default: {
            double d = 0;
            if (PX_get_data_double(m_doc.get(), p, f.length, &d) > 0)
                v = d;
            break;
        }
        }
        values.append(v);
    }
    return values;
}

namespace {

quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

} // namespace

// A blob field ends in 10 bytes: the place in the ".MB" (block offset, and in
// its lowest byte the entry of a shared block or 0xff for a block of its own),
// the length, the modification number. What fits stays in the leader before.
QByteArray TParadoxTable::readBlob(const char *field, int length)
{
    if (length < 10)
        return QByteArray();
    const auto *tail = reinterpret_cast<const unsigned char *>(field + length - 10);
    const quint32 place = le32(tail);
    const quint32 size = le32(tail + 4);
    if (size == 0)
        return QByteArray();
    if (place == 0)
        return size <= quint32(length - 10) ? QByteArray(field, int(size)) : QByteArray();
    if (!m_blob || size > 64u * 1024 * 1024)
        throw TParadoxError(QStringLiteral("Die Memo- und Bilddatei (\".MB\") der Tabelle \"%1\" fehlt oder ist beschädigt.")
                                .arg(QFileInfo(m_path).fileName()));
    QByteArray data;
    // A protected table's blob file is encrypted as its data blocks are.
    // Some tools wrote the blocks of such a table in plain text, though; the
    // block's header tells which of the two the file holds.
    if ((m_encryption != 0 && readBlobAt(place, size, true, data)) || readBlobAt(place, size, false, data))
        return data;
    throw TParadoxError(QStringLiteral("Die Memo- und Bilddatei (\".MB\") der Tabelle \"%1\" ist beschädigt.")
                            .arg(QFileInfo(m_path).fileName()));
}

// The blob at place when its block's header fits it: a block of its own
// (type 2: block count, length) or an entry of a shared block (type 3: a
// table of five-byte entries after the 12-byte header, each the data's
// offset in 16-byte steps, its length in 16-byte steps rounded up, the
// modification number and the length's remainder).
bool TParadoxTable::readBlobAt(quint32 place, quint32 size, bool decrypt, QByteArray &data)
{
    const long block = long(place & 0xffffff00u);
    const int entry = int(place & 0xff);
    QByteArray head;
    if (!readBlobFile(block, 12, decrypt, head))
        return false;
    const auto *h = reinterpret_cast<const unsigned char *>(head.constData());
    long start = -1;
    if (entry == 0xff && h[0] == 2 && le32(h + 3) == size) {
        start = block + 9;
    } else if (entry < 64 && h[0] == 3) {
        QByteArray ptr;
        if (!readBlobFile(block + 12 + entry * 5, 5, decrypt, ptr))
            return false;
        const auto *p = reinterpret_cast<const unsigned char *>(ptr.constData());
        const quint32 stored = p[4] == 0 ? quint32(p[1]) * 16 : (quint32(p[1]) - 1) * 16 + p[4];
        if (p[0] == 0 || p[1] == 0 || stored != size)
            return false;
        start = block + long(p[0]) * 16;
    }
    return start >= 0 && readBlobFile(start, int(size), decrypt, data);
}

// length bytes at offset of the ".MB"; decrypted, they are read in the
// cipher's whole chunks of 256 bytes around them.
bool TParadoxTable::readBlobFile(long offset, int length, bool decrypt, QByteArray &out)
{
    if (!decrypt) {
        out.resize(length);
        return std::fseek(m_blob.get(), offset, SEEK_SET) == 0 && std::fread(out.data(), 1, size_t(length), m_blob.get()) == size_t(length);
    }
    constexpr long chunk = 256;
    const long first = offset / chunk * chunk;
    const long end = (offset + length + chunk - 1) / chunk * chunk;
    QByteArray cipher(int(end - first), Qt::Uninitialized);
    if (std::fseek(m_blob.get(), first, SEEK_SET) != 0 || std::fread(cipher.data(), 1, size_t(cipher.size()), m_blob.get()) != size_t(cipher.size()))
        return false;
    QByteArray plain(cipher.size(), Qt::Uninitialized);
    px_decrypt_mb_block(reinterpret_cast<unsigned char *>(cipher.data()), reinterpret_cast<unsigned char *>(plain.data()),
                        m_encryption, static_cast<unsigned long>(cipher.size()));
    out = plain.mid(int(offset - first), length);
    return true;
}

engine::TableDef TParadoxTable::tableDef(const QString &name) const
{
    engine::TableDef def;
    def.name = name;
    for (const TParadoxField &f : m_fields) {
        const engine::FieldType t = fieldTypeOf(f.type);
        def.fields.append(engine::FieldDef(f.name, t, t == engine::FieldType::String ? f.length : 0));
    }
    def.primaryKeyFields = m_keyFields;
    return def;
}

bool ParadoxTableHasField(const QString &path, const QString &field, const TParadoxTable::PasswordPrompt &askPassword)
{
    try {
        TParadoxTable t(path, askPassword);
        return t.hasField(field);
    } catch (const TParadoxError &) {
        return false;
    }
}

TParadoxTable::PasswordPrompt ParadoxPasswordPrompt()
{
    return [] { return platform::userDialogs().askPassword(); };
}
