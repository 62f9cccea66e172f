#include "data/mediumnumbering.h"

#include <QSet>
#include <QtTest>

#include <algorithm>
#include <utility>

namespace {

// The media table as a list of keys; counts how often the gap search runs.
class ListSource : public MediumNumberSource
{
public:
    NumberingMode mode = NumberingMode::PerKind;
    QList<std::pair<QString, int>> media;
    int searches = 0;

    QList<int> numbersOf(const QString &kind) const
    {
        QList<int> r;
        for (const auto &m : media)
            if (mode == NumberingMode::AcrossAll || m.first == kind)
                r.append(m.second);
        return r;
    }
    bool hasNumberOne(const QString &kind) override { return numbersOf(kind).contains(1); }
    int maxNumber(const QString &kind) override
    {
        const QList<int> n = numbersOf(kind);
        return n.isEmpty() ? 0 : *std::max_element(n.begin(), n.end());
    }
    std::optional<int> lowestNumberBeforeGap(const QString &kind) override
    {
        ++searches;
        QList<int> n = numbersOf(kind);
        std::sort(n.begin(), n.end());
        const QSet<int> taken(n.begin(), n.end());
        for (int v : n)
            if (v >= 1 && !taken.contains(v + 1))
                return v;
        return std::nullopt;
    }
};

} // namespace

class TstMediumNumbering : public QObject
{
    Q_OBJECT
private slots:
    void perKindFillsGaps()
    {
        ListSource s;
        GapCache cache;
        s.media = {{"DVD", 1}, {"DVD", 2}, {"DVD", 3}, {"DVD", 5}, {"VHS-SB", 4}};
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 4);
        QVERIFY(cache.valid);
        QVERIFY(!cache.noGap);
        s.media.append({"DVD", 4});
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 6);
        QVERIFY(cache.noGap);
        QCOMPARE(cache.kind, QStringLiteral("DVD"));
        // No number 1 of that kind: 1, even with higher numbers.
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("VHS-SB")).number, 1);
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("Laserd")).number, 1);
        // The kind is cut to six characters before it is looked up.
        s.media.append({"VHS-SB", 1});
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("VHS-SBX")).number, 2);
        QCOMPARE(cache.kind, QStringLiteral("VHS-SB"));
    }

    void acrossAllMedia()
    {
        ListSource s;
        s.mode = NumberingMode::AcrossAll;
        GapCache cache;
        s.media = {{"VHS-SB", 1}, {"DVD", 2}};
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::AcrossAll, QStringLiteral("Hi8")).number, 3);
        s.media = {{"VHS-SB", 4}, {"DVD", 2}};
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::AcrossAll, QStringLiteral("DVD")).number, 1);
        s.media = {{"VHS-SB", 1}, {"DVD", 2}, {"DVD", 4}};
        cache.clear(); // a delete clears it
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::AcrossAll, QStringLiteral("DVD")).number, 3);
        // Numbers below 1 never make a gap.
        s.media = {{"VHS-SB", -7}, {"VHS-SB", 0}, {"VHS-SB", 1}, {"DVD", 2}};
        cache.clear();
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::AcrossAll, QStringLiteral("DVD")).number, 3);
    }

    void cacheSkipsTheSearch()
    {
        ListSource s;
        GapCache cache;
        s.media = {{"DVD", 1}, {"DVD", 2}};
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 3);
        QCOMPARE(s.searches, 1);
        s.media.append({"DVD", 3});
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 4);
        QCOMPARE(s.searches, 1);

        // A stale cache: a gap opened without a delete (a number was changed)
        // is not seen; the highest number + 1 comes instead.
        s.media[1].second = 9;
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 10);
        // Another kind searches; a cleared cache searches and finds the gap.
        s.media.append({"VHS-SB", 1});
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("VHS-SB")).number, 2);
        cache.clear();
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 2);
        QCOMPARE(s.searches, 3);

        // Across all media the cached kind does not matter.
        ListSource all;
        all.mode = NumberingMode::AcrossAll;
        all.media = {{"DVD", 1}, {"VHS-SB", 2}};
        GapCache c2;
        QCOMPARE(NextFreeNumber(all, c2, NumberingMode::AcrossAll, QStringLiteral("DVD")).number, 3);
        QCOMPARE(NextFreeNumber(all, c2, NumberingMode::AcrossAll, QStringLiteral("Hi8")).number, 3);
        QCOMPARE(all.searches, 1);
    }

    void sixteenBitRange()
    {
        ListSource s;
        GapCache cache;
        s.media = {{"DVD", 1}, {"DVD", kMaxMediumNr}};
        QCOMPARE(NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD")).number, 2);
        // Full up to the top: refused, not wrapped.
        s.media = {{"DVD", 1}, {"DVD", 2}};
        for (int n = 3; n <= kMaxMediumNr; ++n)
            s.media.append({QStringLiteral("DVD"), n});
        NextNumber r = NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD"));
        QVERIFY(!r.ok());
        QVERIFY(r.error.contains(QStringLiteral("32767")));
        // A cache that says "no gap" does not hide a number freed since.
        s.media.removeAt(10);
        cache.valid = true;
        cache.noGap = true;
        cache.kind = QStringLiteral("DVD");
        r = NextFreeNumber(s, cache, NumberingMode::PerKind, QStringLiteral("DVD"));
        QVERIFY(r.ok());
        QCOMPARE(r.number, 11);
    }

    void modeDetection()
    {
        QCOMPARE(DetectNumberingMode(true, 0, true), NumberingDetection::AcrossAll);
        QCOMPARE(DetectNumberingMode(false, kDamagedIndexErrorCode, true), NumberingDetection::IndexError);
        QCOMPARE(DetectNumberingMode(false, kDamagedIndexErrorCode, false), NumberingDetection::PerKind);
        QCOMPARE(DetectNumberingMode(false, 0x2F01, true), NumberingDetection::PerKind);
        const QString t = IndexErrorText(QStringLiteral("Index beschädigt"));
        QVERIFY(t.startsWith(QStringLiteral("BDE meldet Fehler \"Index beschädigt\"beim Öffnen")));
        QCOMPARE(t.count(QLatin1Char('\n')), 3);
    }

    void recordRuleTexts()
    {
        QCOMPARE(KeyChangeWhat(true, false), QStringLiteral("den Medientyp"));
        QCOMPARE(KeyChangeWhat(false, true), QStringLiteral("die Mediennummer"));
        QCOMPARE(KeyChangeWhat(true, true), QStringLiteral("den Medientyp und die Mediennummer"));
        QVERIFY(KeyTakenText(false, true).startsWith(
            QStringLiteral("Sie haben versucht, den Index dieses Mediums (die Mediennummer) zu ändern!")));
        QCOMPARE(KindChangeQuestion(QStringLiteral("VHS-SB"), QStringLiteral("DVD")),
                 QStringLiteral("Wollen Sie wirklich den Medientyp des gerade angezeigten Mediums von "
                                "VHS-SB nach DVD ändern?"));

        QVERIFY(KindChangeRefused(QStringLiteral("DVD"), 3, true));
        QVERIFY(KindChangeRefused(QStringLiteral("VHS-KK"), 2, true));
        QVERIFY(!KindChangeRefused(QStringLiteral("DVD"), 3, false));
        QVERIFY(!KindChangeRefused(QStringLiteral("DVD"), 1, true));
        QVERIFY(!KindChangeRefused(QStringLiteral("DVD-R"), 3, true));

        QVERIFY(LendingDateNeedsCorrection(true, QString()));
        QVERIFY(!LendingDateNeedsCorrection(true, QStringLiteral("Anna")));
        QVERIFY(!LendingDateNeedsCorrection(false, QString()));
        QVERIFY(LastMediumDeleteRefused(1));
        QVERIFY(LastMediumDeleteRefused(0));
        QVERIFY(!LastMediumDeleteRefused(2));

        const QString lock = FilmLockFailedText(FilmLockPurpose::MediumDelete, QStringLiteral("belegt"));
        QVERIFY(lock.startsWith(QStringLiteral("Um dieses Medium löschen zu können")));
        QVERIFY(lock.endsWith(QStringLiteral("Probieren Sie es später nochmal.\n\n"
                                             "[Das Datenbanksystem meldete:\nbelegt]")));
        QVERIFY(FilmLockFailedText(FilmLockPurpose::TapeOperation, {})
                    .contains(QStringLiteral("Film-Datensätzebearbeitet werden. Um sicher zu stellen, "
                                             "dass dabei keine Konflikte")));
    }
};

QTEST_GUILESS_MAIN(TstMediumNumbering)
#include "tst_mediumnumbering.moc"
