#include "app/startup.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "platform/paths.h"
#include "platform/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString CmdFirstArg;
QString NetFileDir;
QStringList LookKeywords;

namespace {

const QStringList &lookKeywordNames()
{
    static const QStringList names = {QStringLiteral("NOMETAL"), QStringLiteral("METAL"),
                                      QStringLiteral("WINBORDER"), QStringLiteral("NORGN"),
                                      QStringLiteral("NOBUTTBMPS"), QStringLiteral("ASK")};
    return names;
}

} // namespace


QStringList ReadCommandLine(const QStringList &args)
{
    QStringList found;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args.at(i).toUpper();
        if (a == QLatin1String("/NET")) {
            if (i + 1 >= args.size())
                break; // nothing behind it: ignored
            const QString folder = args.at(++i);
            if (QFileInfo(folder).isDir()) {
                NetFileDir = folder;
                NetworkMode = true;
            } else {
                AppMessage(QStringLiteral("Der angegebene Netzwerkpfad ist ungültig! Tarvo läuft nicht im Netzwerkmodus!"),
                           QStringLiteral("Fehler"), platform::MessageIcon::Error);
            }
        } else if (lookKeywordNames().contains(a)) {
            found.append(a);
        }
    }
    return found;
}

QStringList ReadParameterFile(const QString &path)
{
    QStringList found;
    if (!QFileInfo::exists(path))
        return found;
    QString error;
    const auto lines = platform::readTextLines(path, &error);
    if (!lines) {
        AppMessage(QStringLiteral("Die Parameterdatei \"%1\" lässt sich nicht lesen; sie wird nicht beachtet.\r%2")
                       .arg(path, error),
                   QStringLiteral("Fehler"), platform::MessageIcon::Error);
        return found;
    }
    for (const QString &line : *lines) {
        const QString k = line.toUpper();
        if (k != QLatin1String("ASK") && lookKeywordNames().contains(k))
            found.append(k);
    }
    return found;
}

QList<TLookAction> LookActions(const QStringList &keywords)
{
    QList<TLookAction> actions;
    if (keywords.contains(QLatin1String("ASK")))
        actions.append(TLookAction::Restart);
    const bool noMetal = keywords.contains(QLatin1String("NOMETAL")) && !keywords.contains(QLatin1String("METAL"));
    if (keywords.contains(QLatin1String("WINBORDER")))
        actions.append(TLookAction::UseStandardFrames);
    if (noMetal)
        actions.append(TLookAction::FreeMetalSkins);
    if (keywords.contains(QLatin1String("NORGN")))
        actions.append(TLookAction::NoRegions);
    if (keywords.contains(QLatin1String("NOBUTTBMPS")))
        actions.append(TLookAction::NoButtonBitmaps);
    return actions;
}

QList<TLookAction> ReadStartParameters(const QStringList &args)
{
    CmdFirstArg = args.isEmpty() ? QString() : args.first();
    LookKeywords = ReadCommandLine(args);
    if (LookKeywords.isEmpty())
        LookKeywords = ReadParameterFile(ProgDir + QStringLiteral("tarvo.par"));
    return LookActions(LookKeywords);
}

TStartDatabase ChooseStartDatabase(const QString &firstArg, const QString &dbFile, const QString &persDBFile)
{
    TStartDatabase r;
    QString base;
    const QString full = firstArg.isEmpty() ? QString() : QFileInfo(firstArg).absoluteFilePath();
    if (full.toUpper().endsWith(QLatin1String(".TARVO")) && QFileInfo(full).isFile())
        base = full.left(full.size() - 6) + QLatin1Char('/');
    else
        base = platform::toNativeSeparators(dbFile);
    if (base.isEmpty() || base == QLatin1String("Def"))
        return r;
    base = platform::withTrailingSeparator(base);
    const QString pers = platform::toNativeSeparators(persDBFile);
    const bool ownPers = pers.isEmpty() || !QFileInfo::exists(pers + QStringLiteral(".DB"));
    const QString persTable = ownPers ? base + QStringLiteral("DB/Pers.DB") : pers + QStringLiteral(".DB");
    if (!QFileInfo::exists(base + QStringLiteral("DB/Med.DB")) || !QFileInfo::exists(base + QStringLiteral("DB/Film.DB"))
        || !QFileInfo::exists(persTable))
        return r;
    r.Use = true;
    r.Base = base;
    r.PersBase = ownPers ? base + QStringLiteral("DB/Pers") : pers;
    return r;
}

std::optional<TFirstActivationSteps> FirstActivationSteps(bool &firstActivation, bool introVisible, bool showTip,
                                                          bool mediaTableOpen, bool autoMahnliste)
{
    if (!firstActivation || introVisible)
        return std::nullopt;
    firstActivation = false;
    TFirstActivationSteps s;
    s.ShowTip = showTip;
    s.ShowNoDatabaseHint = !mediaTableOpen;
    s.RunOverdueList = mediaTableOpen && autoMahnliste;
    return s;
}

QString NoDatabaseHintText()
{
    return QStringLiteral("\\BEs ist bisher noch keine Datenbankdatei geöffnet.\\b\\lb\\lbÖffnen Sie eine mit "
                          "Menüpunkt \\BDatei | Öffnen\\b oder erstellen Sie eine neue mit \\BDatei | Neu\\b. Sie "
                          "können dann angeben, dass die Datei in Zukunft beim Start automatisch geöffnet werden "
                          "soll...");
}
