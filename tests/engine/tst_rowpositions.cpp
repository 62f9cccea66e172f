// Positions of row ids: ids of a table's usual range and ids far outside
// it, in any order, each found at the position it was given first.
#include "engine/rowpositions.h"

#include <QtTest>

#include <algorithm>
#include <random>

using namespace engine;

class TstRowPositions : public QObject
{
    Q_OBJECT

private slots:
    void idsNearAndFar()
    {
        RowPositions p;
        // An id far beyond the count comes first, while nothing is known.
        p.insert(200000, 7);
        std::vector<qint64> ids;
        for (qint64 id = 1; id <= 5000; ++id)
            if (id % 7 != 0) // deleted rows leave gaps
                ids.push_back(id);
        ids.push_back(0);
        ids.push_back(-3);
        ids.push_back(Q_INT64_C(1) << 40);
        std::shuffle(ids.begin(), ids.end(), std::mt19937(5));
        for (size_t i = 0; i < ids.size(); ++i)
            p.insert(ids[i], int(i) + 10);
        for (size_t i = 0; i < ids.size(); ++i)
            QCOMPARE(p.find(ids[i]), int(i) + 10);
        QCOMPARE(p.find(200000), 7);
        QCOMPARE(p.find(14), -1);
        QCOMPARE(p.find(5001), -1);
        QCOMPARE(p.find(-1), -1);

        // A second position of an id does not replace the first.
        p.insert(200000, 1);
        p.insert(ids[0], 1);
        QCOMPARE(p.find(200000), 7);
        QCOMPARE(p.find(ids[0]), 10);

        p.clear();
        QCOMPARE(p.find(ids[0]), -1);
        QCOMPARE(p.find(200000), -1);
        p.reserve(10);
        p.insert(3, 0);
        QCOMPARE(p.find(3), 0);
    }
};

QTEST_GUILESS_MAIN(TstRowPositions)
#include "tst_rowpositions.moc"
