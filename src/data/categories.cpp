#include "data/categories.h"

#include "app/apppaths.h"
#include "app/settings.h"
#include "data/recordsql.h"
#include "engine/session.h"
#include "engine/table.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

TCategoryTable CategoryTable;

QChar KategIndexToChar(int n)
{
    if (n >= 1 && n <= 9)
        return QChar(u'0' + n);
    if (n == 10)
        return QChar(u'0');
    if (n >= 11 && n <= 36)
        return QChar(u'a' + (n - 11));
    if (n >= 37 && n <= 62)
        return QChar(u'A' + (n - 37));
    return QChar(u'1');
}

int KategCharToIndex(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'1' && u <= u'9')
        return u - u'0';
    if (u == u'0')
        return 10;
    if (u >= u'a' && u <= u'z')
        return 11 + (u - u'a');
    if (u >= u'A' && u <= u'Z')
        return 37 + (u - u'A');
    return 1;
}

QString CategoryFilePath(const QString &dbBase)
{
    return dbBase + QStringLiteral("DB/KAT");
}

namespace {

// The name after the last separator of either spelling.
QString bareName(const QString &s)
{
    const qsizetype i = std::max(s.lastIndexOf(u'\\'), s.lastIndexOf(u'/'));
    return i < 0 ? s : s.mid(i + 1);
}

bool exists(const QString &stored)
{
    const QString path = ExpandProgramPath(stored);
    return QFileInfo(path).isFile();
}

} // namespace

QString ResolveCategorySymbol(const QString &stored)
{
    if (stored.isEmpty() || exists(stored))
        return stored;
    const QString bare = bareName(stored);
    if (exists(bare))
        return bare;
    // The file keeps the Windows spelling of its names.
    const QString inSymbols = QStringLiteral("Symbole\\") + bare;
    if (exists(inSymbols))
        return inSymbols;
    return bare;
}

QString CategorySymbolFile(const QString &stored)
{
    return stored.isEmpty() ? QString() : ExpandProgramPath(stored);
}

QString StoredSymbolName(const QString &file)
{
    if (file.isEmpty())
        return {};
    // Relative, so that the database goes with the program to another folder.
    const QString program = QDir(ProgDir).absolutePath() + QLatin1Char('/');
    const QString path = QFileInfo(file).absoluteFilePath();
    if (path.startsWith(program))
        return path.mid(program.size()).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return file;
}

void ParseCategories(const QByteArray &bytes, TCategoryTable &table)
{
    const QStringList lines = platform::splitCp1252Lines(bytes);
    qsizetype pos = 0;
    auto next = [&] { return pos < lines.size() ? lines.at(pos++) : QString(); };
    for (TCategory &c : table) {
        c.name = next();
        c.symbol = ResolveCategorySymbol(next());
        c.font.reset();
    }
    for (TCategory &c : table) {
        if (pos >= lines.size())
            break;
        const QString face = next();
        if (face.isEmpty()) {
            pos += 2;
            continue;
        }
        TCategoryFont f;
        f.face = face;
        const QString color = next();
        if (!color.isEmpty())
            f.color = qint32(color.toLongLong());
        const QString style = next();
        if (!style.isEmpty())
            f.style = quint8(style.at(0).unicode() & 0x0F);
        c.font = f;
    }
}

QByteArray FormatCategories(const TCategoryTable &table)
{
    QStringList lines;
    lines.reserve(CategoryCount * 5);
    for (const TCategory &c : table)
        lines << c.name << c.symbol;
    for (const TCategory &c : table) {
        if (c.font)
            lines << c.font->face << QString::number(c.font->color) << QString(QChar(char16_t(c.font->style)));
        else
            lines << QString() << QString() << QString();
    }
    return platform::joinCp1252Lines(lines);
}

bool LoadCategories(const QString &path, TCategoryTable &table)
{
    if (!QFileInfo::exists(path))
        return false;
    const auto bytes = platform::readFileBytes(path);
    if (!bytes)
        return false;
    ParseCategories(*bytes, table);
    return true;
}

bool SaveCategories(const QString &path, const TCategoryTable &table, QString *error)
{
    return platform::writeFileBytes(path, FormatCategories(table), error);
}

QList<int> NamedCategories(const TCategoryTable &table)
{
    QList<int> out;
    for (int n = 1; n <= CategoryCount; ++n)
        if (!table[size_t(n - 1)].name.isEmpty())
            out << n;
    return out;
}

int FindCategoryByName(const QString &text, const TCategoryTable &table)
{
    if (text.isEmpty())
        return 0;
    for (int n = 1; n <= CategoryCount; ++n)
        if (table[size_t(n - 1)].name.compare(text, Qt::CaseInsensitive) == 0)
            return n;
    return 0;
}

// ---- Reordering ---------------------------------------------------------------------

TCategoryReorder::TCategoryReorder(TCategoryTable &table, const engine::Table *films, std::function<bool()> confirm)
    : m_table(table), m_films(films), m_confirm(std::move(confirm))
{
}

void TCategoryReorder::search()
{
    if (m_searched)
        return;
    m_searched = true;
    m_spare = m_second = 0;
    if (!m_films || !m_films->active())
        return;
    const QString sql = QStringLiteral("SELECT EXISTS (SELECT 1 FROM %1 WHERE Kateg = ?1 COLLATE BINARY)")
                            .arg(recordsql::tableRef(*m_films));
    for (int n = CategoryCount; n >= 2; --n) {
        if (recordsql::count(m_films->session(), sql, {QString(KategIndexToChar(n))}) != 0)
            continue;
        if (!m_spare) {
            m_spare = n;
        } else {
            m_second = n;
            break;
        }
    }
    if (m_spare && !m_second)
        m_second = m_spare;
}

int TCategoryReorder::spare()
{
    search();
    return m_spare;
}

int TCategoryReorder::secondSpare()
{
    search();
    return m_second;
}

bool TCategoryReorder::confirmed()
{
    if (!m_confirmed)
        m_confirmed = !m_confirm || m_confirm();
    return m_confirmed;
}

void TCategoryReorder::swap(int a, int b, int temp)
{
    if (a == b || a < 1 || b < 1 || a > CategoryCount || b > CategoryCount)
        return;
    std::swap(m_table[size_t(a - 1)], m_table[size_t(b - 1)]);
    if (!m_films || !m_films->active())
        return;
    const QString sql = QStringLiteral("UPDATE %1 SET Kateg = ?1 WHERE Kateg = ?2 COLLATE BINARY")
                            .arg(recordsql::tableRef(*m_films));
    const QString ca(KategIndexToChar(a)), cb(KategIndexToChar(b)), ct(KategIndexToChar(temp));
    engine::Session::Transaction tx(m_films->session());
    if (temp == a) {
        // a holds no film: b's films simply move over.
        recordsql::change(*m_films, sql, {ca, cb});
    } else if (temp == b) {
        recordsql::change(*m_films, sql, {cb, ca});
    } else {
        recordsql::change(*m_films, sql, {ct, ca});
        recordsql::change(*m_films, sql, {ca, cb});
        recordsql::change(*m_films, sql, {cb, ct});
    }
    tx.commit();
    if (temp == a || temp == b)
        resetSpare(); // the spare code now carries films
}

int TCategoryReorder::move(int row, int step)
{
    if (!(step < 0 ? canMoveUp(row) : canMoveDown(row)))
        return 0;
    int temp = spare();
    int target = row + step;
    bool reset = false;
    if (target == temp) {
        if (secondSpare() != temp) {
            temp = secondSpare();
            reset = true;
        } else {
            target = row + 2 * step; // the spare row is jumped over
        }
    }
    if (target <= 1 || target > CategoryCount || !confirmed())
        return 0;
    swap(row, target, temp);
    if (reset)
        resetSpare();
    return target;
}

int TCategoryReorder::moveUp(int row)
{
    return move(row, -1);
}

int TCategoryReorder::moveDown(int row)
{
    return move(row, +1);
}

bool TCategoryReorder::sort()
{
    if (!hasSpare() || !confirmed())
        return false;
    auto name = [&](int p) { return m_table[size_t(p - 1)].name; };
    // The first empty row from 2 upward other than the spare, looked for once.
    int empty = 0;
    for (int p = 2; p <= CategoryCount && !empty; ++p)
        if (name(p).isEmpty() && p != spare())
            empty = p;
    bool reset = false;
    for (int p = 2; p <= CategoryCount - 1; ++p) {
        int candidate = 0;
        if (p == 10 && !name(10).isEmpty() && empty) {
            candidate = empty; // code "0" stays free
        } else {
            QString best;
            for (int q = p + 1; q <= CategoryCount - 1; ++q) {
                const QString n = name(q).toUpper();
                if (!n.isEmpty() && (!candidate || n < best)) {
                    candidate = q;
                    best = n;
                }
            }
            const QString own = name(p).toUpper();
            if (!candidate || own.isEmpty() || !(best < own))
                continue;
        }
        int temp = spare();
        if (p == temp || candidate == temp) {
            if (secondSpare() != temp) {
                temp = secondSpare();
                reset = true;
            }
            if (p == temp || candidate == temp)
                continue;
        }
        swap(p, candidate, temp);
    }
    if (reset)
        resetSpare();
    return true;
}
