#include "data/mediumnumbering.h"

#include "data/tapearithmetic.h"

NextNumber NextFreeNumber(MediumNumberSource &source, GapCache &cache, NumberingMode mode,
                          const QString &kindIn)
{
    const QString kind = CutKind(kindIn);
    NextNumber r;
    if (!source.hasNumberOne(kind)) {
        r.number = 1;
        return r;
    }
    const int max = source.maxNumber(kind) + 1;
    const bool cacheHit = cache.valid && cache.noGap
        && (mode == NumberingMode::AcrossAll || cache.kind == kind);
    // A full range is checked by a real search, so that a stale cache does
    // not hide a gap that would still be free.
    if (cacheHit && max <= kMaxMediumNr) {
        r.number = max;
        return r;
    }
    const std::optional<int> before = source.lowestNumberBeforeGap(kind);
    const int result = before ? *before + 1 : 1;
    cache.valid = true;
    cache.kind = kind;
    cache.noGap = (result == max);
    if (result > kMaxMediumNr) {
        r.error = MediumNumbersExhaustedText();
        return r;
    }
    r.number = result;
    return r;
}

QString MediumNumbersExhaustedText()
{
    return QStringLiteral(
               "Es ist keine freie Mediennummer mehr vorhanden: Mediennummern reichen nur von "
               "1 bis %1. Löschen Sie ein nicht mehr benötigtes Medium oder ändern Sie dessen "
               "Nummer, um eine Nummer freizugeben.")
        .arg(kMaxMediumNr);
}

NumberingDetection DetectNumberingMode(bool indexSet, int errorCode, bool onTable1)
{
    if (indexSet)
        return NumberingDetection::AcrossAll;
    if (errorCode == kDamagedIndexErrorCode && onTable1)
        return NumberingDetection::IndexError;
    return NumberingDetection::PerKind;
}

const char *const kIndexErrorCaption = "Indexfehler";

QString IndexErrorText(const QString &engineMessage)
{
    return QStringLiteral("BDE meldet Fehler ") + QLatin1Char('"') + engineMessage + QLatin1Char('"')
        + QStringLiteral("beim Öffnen des Sekundär-Indexes, welcher den Numerierungsmodus")
        + QStringLiteral(" festlegt. Bitte gehen Sie wie folgt vor:") + QLatin1Char('\n')
        + QStringLiteral("- Schalten Sie den Editiermodus ein.") + QLatin1Char('\n')
        + QStringLiteral(
            "- Wählen Sie Menü \"Einstellungen / Numerierungsmodus / Separate Numerierung\"")
        + QLatin1Char('\n')
        + QStringLiteral("- Falls Sie vorher die durchgehende Numerierung verwendet haben, "
                         "schalten Sie diese erneut ein.");
}

QString KeyChangeWhat(bool kindChanged, bool nrChanged)
{
    const QString kind = QStringLiteral("den Medientyp");
    const QString nr = QStringLiteral("die Mediennummer");
    if (kindChanged && nrChanged)
        return kind + QStringLiteral(" und ") + nr;
    return kindChanged ? kind : nr;
}

const char *const kErrorCaption = "Fehler";

QString KeyTakenText(bool kindChanged, bool nrChanged)
{
    return QStringLiteral("Sie haben versucht, den Index dieses Mediums (")
        + KeyChangeWhat(kindChanged, nrChanged)
        + QStringLiteral(") zu ändern! Es existiert aber bereits ein Medium mit dem \"neuen\" "
                         "Index, daher wurde die Änderung nicht übernommen!");
}

const char *const kKindChangeCaption = "Sind Sie sicher?";

QString KindChangeQuestion(const QString &oldKind, const QString &newKind)
{
    return QStringLiteral("Wollen Sie wirklich den Medientyp des gerade angezeigten Mediums von ")
        + oldKind + QStringLiteral(" nach ") + newKind + QStringLiteral(" ändern?");
}

bool IsOneFilmKind(const QString &kind)
{
    return kind == QLatin1String("VHS-KK") || kind == QLatin1String("DVD");
}

bool KindChangeRefused(const QString &newKind, int filmCount, bool oneFilmOnly)
{
    return oneFilmOnly && IsOneFilmKind(newKind) && filmCount > 1;
}

QString OneFilmRuleText()
{
    return QStringLiteral("Medien mit mehr als einem Film können nicht in Kaufkassetten oder "
                          "DVDs umgewandelt werden!");
}

bool LendingDateNeedsCorrection(bool hasLendingDate, const QString &borrower)
{
    return hasLendingDate && borrower.isEmpty();
}

const char *const kLendingCorrectionCaption = "Korrektur!";
const char *const kLendingCorrectionText =
    "Sie können kein Verleihdatum eintragen, wenn überhaupt nicht vermerkt ist, \\Idass\\i die "
    "Kassette/Disc überhaupt verliehen ist! Das Datum wurde nicht gespeichert!";

bool LastMediumDeleteRefused(qint64 mediaCount)
{
    return mediaCount < 2;
}

const char *const kLastMediumText =
    "Dies ist das einzige Medium der Datenbank. Die Datenbank muß immer mindestens ein Medium "
    "enthalten, daher kann dieses Medium nicht gelöscht werden!";

const char *const kFilmLockCaption = "Konnte Filmtabelle nicht sperren";

QString FilmLockFailedText(FilmLockPurpose purpose, const QString &engineMessage)
{
    static const char *const tail =
        " keine Konflikte durch Sperren anderer Benutzer auftreten können, wurde versucht, die "
        "Filmtabelle komplett zu sperren. Das ist fehlgeschlagen, wahrscheinlich weil gerade ein "
        "anderer Netzwerk-Client auf der Filmtabelle arbeitet. Probieren Sie es später nochmal.";
    QString head;
    switch (purpose) {
    case FilmLockPurpose::KeyChange:
        head = QStringLiteral(
            "Um den Schlüssel dieses Mediums zu ändern, müssen auch alle darauf enthaltenen Filme "
            "aktualisiert werden. Um sicher zu stellen, dass beim Ändern einer Menge noch zu "
            "bestimmender Filme");
        break;
    case FilmLockPurpose::MediumDelete:
        head = QStringLiteral(
            "Um dieses Medium löschen zu können, müssen ebenfalls alle darauf enthaltenen Filme "
            "gelöscht werden. Um sicher zu stellen, dass beim Löschen einer Menge noch zu "
            "bestimmender Filme");
        break;
    case FilmLockPurpose::TapeOperation:
        head = QStringLiteral(
            "Um diese Aktion durchführen zu können, müssen mehrere Film-Datensätzebearbeitet "
            "werden. Um sicher zu stellen, dass dabei");
        break;
    }
    return head + QString::fromUtf8(tail) + QStringLiteral("\n\n[Das Datenbanksystem meldete:\n")
        + engineMessage + QLatin1Char(']');
}
