#include "data/filmcard.h"

#include "app/settings.h"
#include "data/recordsql.h"
#include "data/tablerepair.h"
#include "engine/session.h"
#include "engine/sqlutil.h"
#include "engine/table.h"

#include <algorithm>

QString FilmWindowCaption(const QString &kind, int kassNr, int filmNr)
{
    const QString k = kind.trimmed();
    QString kindText = k;
    if (k == QLatin1String("VHS-SB"))
        kindText = QStringLiteral("Band");
    else if (k == QLatin1String("VHS-KK"))
        kindText = QStringLiteral("Kaufkass");
    QString caption = QStringLiteral("Filmdaten \\b-- ") + kindText + QStringLiteral("-Nr. ") + QString::number(kassNr);
    if ((k != QLatin1String("DVD") && k != QLatin1String("VHS-KK")) || filmNr > 1)
        caption += QStringLiteral(", Film-Nr. ") + QString::number(filmNr);
    return caption;
}

bool FilmLpVisible(const QString &kind)
{
    return kind.trimmed() != QLatin1String("DVD");
}

bool FilmFreiVisible(const QString &kind)
{
    return FilmLpVisible(kind) && kind.trimmed() != QLatin1String("VHS-KK");
}

const QList<SoundEntry> &SoundList(const QString &kind)
{
    static const QList<SoundEntry> vhs{{QStringLiteral("Mono"), u'M'},
                                       {QStringLiteral("Hifi-Mono"), u'H'},
                                       {QStringLiteral("Zweikanalton"), u'Z'},
                                       {QStringLiteral("Stereo"), u'S'},
                                       {QStringLiteral("Dolby Surround"), u'D'}};
    static const QList<SoundEntry> digital{{QStringLiteral("MPEG Audio (5.1)"), u'P'},
                                           {QStringLiteral("Dolby Digital (AC-3 5.1)"), u'A'},
                                           {QStringLiteral("dts (5.1)"), u'T'},
                                           {QStringLiteral("Dolby Digital EX (6.1)"), u'X'},
                                           {QStringLiteral("dts ES (6.1)"), u'E'}};
    static const QList<SoundEntry> dvd = QList<SoundEntry>{{QStringLiteral("Mono"), u'M'},
                                                           {QStringLiteral("Stereo"), u'S'},
                                                           {QStringLiteral("Dolby Surround"), u'D'}}
        + digital;
    static const QList<SoundEntry> all = vhs + digital;
    const QString k = kind.left(3);
    if (k == QLatin1String("VHS"))
        return vhs;
    if (k == QLatin1String("DVD"))
        return dvd;
    return all;
}

int SoundIndex(const QString &kind, const QString &ton)
{
    if (ton.isEmpty())
        return -1;
    const QList<SoundEntry> &l = SoundList(kind);
    for (int i = 0; i < l.size(); ++i)
        if (l[i].code == ton.at(0))
            return i;
    return -1;
}

QStringList RatingItems()
{
    return {QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
            QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")};
}

int RatingToItem(const QVariant &wertung)
{
    if (wertung.isNull() || !wertung.isValid())
        return 0;
    const int w = wertung.toInt();
    return w < 0 || w > 5 ? 0 : w + 1;
}

QVariant ItemToRating(int item)
{
    if (item <= 0 || item > 6)
        return {};
    return item - 1;
}

bool IsFreeAreaTitle(const QString &title)
{
    return title.left(14).toUpper() == QLatin1String("FREIER BEREICH");
}

bool IsFilmUnique(const engine::Table &films, const QString &title, const QString &subtitle, const FilmKey &exclude)
{
    if (IsFreeAreaTitle(title))
        return true;
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Titel = ?1").arg(recordsql::tableRef(films));
    QVariantList binds{title};
    if (!subtitle.isEmpty()) {
        sql += QStringLiteral(" AND Untertitel = ?2");
        binds << subtitle;
    }
    if (!exclude.kind.isEmpty()) {
        const int n = int(binds.size());
        sql += QStringLiteral(" AND NOT (Medium = ?%1 COLLATE BINARY AND KassNr = ?%2 AND FilmNr = ?%3)")
                   .arg(n + 1)
                   .arg(n + 2)
                   .arg(n + 3);
        binds << exclude.kind << exclude.kassNr << exclude.filmNr;
    }
    return recordsql::count(films.session(), sql, binds) == 0;
}

QString DuplicateTitleMessage(const QString &subtitle)
{
    return subtitle.isEmpty()
        ? QStringLiteral("Es gibt bereits einen Film mit diesem Titel in der Datenbank!")
        : QStringLiteral("Es gibt bereits einen Film mit diesem Titel und diesem Untertitel in der Datenbank!");
}

static QStringList textColumn(const engine::Table &films, const QString &sql, const QVariantList &binds, int max)
{
    engine::Session &s = films.session();
    engine::Stmt st(s.handle(), sql);
    for (int i = 0; i < binds.size(); ++i)
        st.bind(i + 1, binds[i]);
    QStringList r;
    int rc;
    while ((max < 0 || r.size() < max) && (rc = st.step()) == SQLITE_ROW)
        r << st.text(0);
    return r;
}

QStringList TitleProposals(const engine::Table &films, const QString &text)
{
    // The typed text is a prefix: LIKE's own wild cards in it are taken literally.
    QString pattern = text;
    pattern.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("\\%"))
        .replace(QLatin1Char('_'), QStringLiteral("\\_"));
    const QString sql = QStringLiteral("SELECT DISTINCT Titel FROM %1 WHERE UPPER(Titel) LIKE UPPER(?1) ESCAPE '\\'")
                            .arg(recordsql::tableRef(films));
    return textColumn(films, sql, {pattern + QLatin1Char('%')}, kMaxTitleItems);
}

QStringList SubtitlesOfTitle(const engine::Table &films, const QString &title)
{
    const QString sql = QStringLiteral("SELECT Untertitel FROM %1 WHERE Titel = ?1 AND Untertitel IS NOT NULL "
                                       "AND Untertitel <> ''")
                            .arg(recordsql::tableRef(films));
    return textColumn(films, sql, {title}, -1);
}

bool FilmAttachmentState::allEmpty() const
{
    return memoEmpty && pictureEmpty && std::all_of(std::begin(freeEmpty), std::end(freeEmpty), [](bool e) { return e; });
}

bool LabelRelevantChange(const QString &fieldName, const TLabelSettings &s, bool startMemoEmpty,
                         bool startAllEmpty, const FilmAttachmentState &now)
{
    const QString f = fieldName.toUpper();
    if (f == QLatin1String("TITEL") || f == QLatin1String("UNTERTITEL") || f == QLatin1String("FREI"))
        return true;
    if ((f == QLatin1String("LEN") || f == QLatin1String("LP") || f == QLatin1String("MW")) && s.PrintLen)
        return true;
    if ((f == QLatin1String("LEN") || f == QLatin1String("LP")) && s.PrintRest)
        return true;
    if ((f == QLatin1String("TON") || f == QLatin1String("WIDE") || f == QLatin1String("SW")) && s.PrintTon)
        return true;
    if (f == QLatin1String("KATEG") && (s.PrintKategSymb || s.PrintKat || s.PrintHKateg))
        return true;
    if (f == QLatin1String("WERTUNG") && s.PrintSterne)
        return true;
    if (f == QLatin1String("MEMO") && s.PrintAnhSymb && s.PrintAnhSymbMemo && now.memoEmpty != startMemoEmpty)
        return true;
    int freeNr = 0;
    if (f.startsWith(QLatin1String("FREE"))) {
        bool ok = false;
        freeNr = f.mid(4).toInt(&ok);
        if (!ok || freeNr < 1 || freeNr > 15)
            freeNr = 0;
    }
    if (freeNr > 0
        && ((s.PrintHFree && s.PrintHFreeNr == freeNr) || (s.PrintFree && s.PrintFreeNr == freeNr)))
        return true;
    if (s.PrintAnhSymb && !s.PrintAnhSymbMemo
        && (f == QLatin1String("GRAFIK") || f == QLatin1String("MEMO") || freeNr > 0)) {
        const bool fieldEmpty = f == QLatin1String("GRAFIK") ? now.pictureEmpty
            : f == QLatin1String("MEMO")                     ? now.memoEmpty
                                                             : now.freeEmpty[freeNr - 1];
        if (startAllEmpty)
            return !fieldEmpty;
        return fieldEmpty && now.allEmpty();
    }
    return false;
}

PersonCheck ClassifyPersonName(const QString &name, const QString &oldName,
                               const std::function<bool(const QString &)> &isPerson)
{
    if (name.isEmpty() || isPerson(name) || name == oldName)
        return PersonCheck::Nothing;
    if (!oldName.isEmpty() && isPerson(oldName))
        return PersonCheck::AskRename;
    return PersonCheck::AskNew;
}

QString NewPersonQuestion(const QString &caption, const QString &name)
{
    return QStringLiteral("Im Feld ") + caption + QStringLiteral(" haben Sie einen neuen Namen eingegeben: ") + name
        + QStringLiteral("\nSoll dieser Name in die Personen-Kartei aufgenommen werden (eine neue Karteikarte "
                         "angelegt werden)? (Wählen Sie Abbrechen, wenn Sie den Namen nochmal bearbeiten wollen!)");
}

bool IsJumpEntry(const QString &text)
{
    return text.size() == 4 && text.at(0).isLetter() && text.mid(1) == QLatin1String("...");
}

static QChar initialOf(const QString &name)
{
    return name.isEmpty() ? QChar() : name.at(0).toUpper();
}

static QString jumpEntry(QChar c)
{
    return QString(c) + QStringLiteral("...");
}

QStringList BuildPersonList(const QStringList &names, const QString &text)
{
    const int n = int(names.size());
    const bool jump = IsJumpEntry(text);
    int start = 0;
    if (jump) {
        const QChar letter = text.at(0).toUpper();
        while (start < n && initialOf(names[start]) < letter)
            ++start;
    }
    constexpr int batch = 100;
    QStringList list;
    int pos = start;
    QStringList previous;
    for (int k = 0;; ++k) {
        const QStringList current = names.mid(pos, batch);
        list.clear();
        if (pos > 0)
            list << (k == 0 ? jumpEntry(u'A')
                            : jumpEntry(initialOf(previous.value(previous.size() > 1 ? 1 : 0))));
        list << current;
        if (text.isEmpty() || jump || current.contains(text) || pos + batch >= n)
            break;
        previous = current;
        pos += batch;
    }
    int next = std::min(pos + batch, n);
    if (next < n) {
        const QChar c = initialOf(names[next]);
        while (next < n && initialOf(names[next]) == c)
            list << names[next++];
        if (next < n)
            list << jumpEntry(initialOf(names[next]));
    }
    return list;
}

const QString OnlyFilmMessage = QStringLiteral(
    "Dies ist der einzige Film der Datenbank. Die Datenbank muß immer mindestens einen Film enthalten, daher "
    "kann dieser Film nicht gelöscht werden!");

bool FilmDeleteAllowed(int filmCount)
{
    return filmCount != 1;
}

const QString MissingTitleOnInsert = QStringLiteral(
    "Sie haben keinen Titel für diesen Film eingegeben, das ist aber notwendig!\n"
    "Wollen Sie den Datensatz weiter bearbeiten und einen Titel eingeben?\n"
    "Wenn Sie mit \"Nein\" antworten, wird der neue Film-Datensatz NICHT angelegt (nicht gespeichert)!");

const QString MissingTitleOnEdit = QStringLiteral(
    "Sie haben den Titel für diesen Film gelöscht, es ist aber ein Titel notwendig!\n"
    "Soll der Film-Datensatz gelöscht werden (Ja), sollen Ihre Änderungen verworfen werden (Nein), oder wollen "
    "Sie den Datensatz weiter bearbeiten und einen Titel eingeben (Abbrechen)?");

EmptyTitleClose EmptyTitleCloseAction(bool inserting, int answer)
{
    constexpr int yes = 6, no = 7; // mrYes, mrNo
    if (inserting)
        return answer == no ? EmptyTitleClose::CancelInsertAndClose : EmptyTitleClose::KeepOpen;
    if (answer == yes)
        return EmptyTitleClose::DeleteFilm;
    if (answer == no)
        return EmptyTitleClose::CancelEdit;
    return EmptyTitleClose::KeepOpen;
}

const QString LabelChangedQuestion = QStringLiteral(
    "Es wurden Daten dieses Films geändert, die sich auf das Etikett auswirken.\\lb\\BSoll daher das \\I\"Etikett "
    "gedruckt\"-Feld\\i des betroffenen Mediums gelöscht werden?");
const QString FilmDeletedQuestion = QStringLiteral(
    "Es wurde ein Film gelöscht, was sich auf das Etikett auswirkt.\\lb\\BSoll daher das \\I\"Etikett "
    "gedruckt\"-Feld\\i der betroffenen Kassette gelöscht werden?");

QString FilmFolderName(const QString &title, const QString &subtitle, int fieldSize)
{
    QString name = title;
    if (subtitle.startsWith(QLatin1Char('>')))
        name += subtitle.mid(1);
    else if (!subtitle.isEmpty())
        name += QLatin1Char('-') + subtitle;
    if (fieldSize > 0 && name.size() > fieldSize)
        name = name.left(fieldSize - 1) + QLatin1Char('~');
    return name;
}

bool CheckFilmBitmaps(engine::Table &films, const std::function<bool(const QByteArray &)> &decodes,
                      PictureScanResult *result)
{
    TPictureScanTexts texts;
    texts.waiting = QStringLiteral("Suche nach ungültigen Bitmaps in den Film-Anhängen...");
    texts.pictures = QStringLiteral("Film-Grafiken");
    texts.openFailed = QStringLiteral("Suche nach Filmen mit Grafik fehlgeschlagen, Abfrage lässt sich nicht öffnen!");
    texts.removeFailed = QStringLiteral("Fehler beim Versuch, eine ungültige Bitmap zu löschen!");
    return ScanTablePictures(films, {QStringLiteral("Medium"), QStringLiteral("KassNr"), QStringLiteral("FilmNr")}, texts,
                             decodes, result);
}
