#include "dbui/dbnavigator.h"
#include "dbui/errorsink.h"
#include "engine/field.h"
#include "memorydataset.h"

#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

using engine::DataSetState;
using engine::FieldType;
using Nav = dbui::DbNavigator;

namespace {

std::unique_ptr<MemoryDataSet> makeSet(int rows, bool readOnly = false)
{
    auto ds = std::make_unique<MemoryDataSet>(QList<engine::FieldDef>{{"Name", FieldType::String, 20}});
    for (int i = 0; i < rows; ++i)
        ds->addRow({QStringLiteral("Person %1").arg(i + 1)});
    ds->setReadOnly(readOnly);
    ds->open();
    return ds;
}

QList<Nav::Button> enabledButtons(const Nav &nav)
{
    QList<Nav::Button> out;
    for (int i = 0; i < Nav::ButtonCount; ++i)
        if (nav.isButtonEnabled(Nav::Button(i)))
            out << Nav::Button(i);
    return out;
}

} // namespace

class TstNavigator : public QObject
{
    Q_OBJECT
private slots:
    void buttonsFollowTheSet()
    {
        auto ds = makeSet(3);
        dbui::DataSource src(ds.get());
        Nav nav;
        QCOMPARE(enabledButtons(nav), QList<Nav::Button>{});
        nav.setDataSource(&src);
        // On the first record after opening: no way up.
        QCOMPARE(enabledButtons(nav), (QList<Nav::Button>{Nav::Next, Nav::Last, Nav::Insert, Nav::Delete,
                                                          Nav::Edit, Nav::Refresh}));
        nav.press(Nav::Last);
        QCOMPARE(ds->recNo(), 3);
        QVERIFY(nav.isButtonEnabled(Nav::First));
        QVERIFY(!nav.isButtonEnabled(Nav::Next));
        nav.press(Nav::Prior);
        QCOMPARE(ds->recNo(), 2);

        nav.press(Nav::Edit);
        QCOMPARE(ds->state(), DataSetState::Edit);
        QCOMPARE(enabledButtons(nav), (QList<Nav::Button>{Nav::First, Nav::Prior, Nav::Next, Nav::Last,
                                                          Nav::Insert, Nav::Post, Nav::Cancel, Nav::Refresh}));
        ds->fieldByName(QStringLiteral("Name"))->setValue(QStringLiteral("Geändert"));
        nav.press(Nav::Cancel);
        QCOMPARE(ds->state(), DataSetState::Browse);
        QCOMPARE(ds->stored(1, 0).toString(), QStringLiteral("Person 2"));
        nav.press(Nav::Edit);
        ds->fieldByName(QStringLiteral("Name"))->setValue(QStringLiteral("Geändert"));
        nav.press(Nav::Post);
        QCOMPARE(ds->stored(1, 0).toString(), QStringLiteral("Geändert"));

        // A write-protected set only moves and refreshes.
        auto locked = makeSet(2, true);
        dbui::DataSource lockedSrc(locked.get());
        nav.setDataSource(&lockedSrc);
        QCOMPARE(enabledButtons(nav), (QList<Nav::Button>{Nav::Next, Nav::Last, Nav::Refresh}));
        nav.press(Nav::Edit);
        QCOMPARE(locked->state(), DataSetState::Browse);
        locked->close();
        QCOMPARE(enabledButtons(nav), QList<Nav::Button>{});
    }

    void deleteAsksFirst()
    {
        auto ds = makeSet(3);
        dbui::DataSource src(ds.get());
        Nav nav;
        nav.setDataSource(&src);
        QStringList asked;
        bool answer = false;
        Nav::setConfirmHandler([&](const QString &q) {
            asked << q;
            return answer;
        });
        nav.press(Nav::Delete);
        QCOMPARE(asked, QStringList{QStringLiteral("Datensatz löschen?")});
        QCOMPARE(ds->storedCount(), 3);
        answer = true;
        nav.press(Nav::Delete);
        QCOMPARE(ds->storedCount(), 2);
        nav.setConfirmDelete(false);
        nav.press(Nav::Delete);
        QCOMPARE(ds->storedCount(), 1);
        QCOMPARE(asked.size(), 2);
        Nav::setConfirmHandler({});
        // Without a handler nothing is deleted.
        nav.setConfirmDelete(true);
        nav.press(Nav::Delete);
        QCOMPARE(ds->storedCount(), 1);
    }

    void actionsCanBeStoppedAndAreAnnounced()
    {
        auto ds = makeSet(3);
        dbui::DataSource src(ds.get());
        Nav nav;
        nav.setDataSource(&src);
        QSignalSpy clicked(&nav, &Nav::clicked);
        nav.beforeAction = [](Nav::Button b) {
            if (b == Nav::Last)
                engine::abortSilently();
        };
        nav.press(Nav::Last);
        QCOMPARE(ds->recNo(), 1);
        QCOMPARE(clicked.count(), 0);
        nav.press(Nav::Next);
        QCOMPARE(ds->recNo(), 2);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().value<Nav::Button>(), Nav::Next);

        // A refused action reports its message and is not announced.
        QStringList errors;
        auto previous = dbui::setErrorSink([&](const QString &t) { errors << t; });
        engine::Subscriptions subs;
        subs.push_back(ds->beforePost.subscribe([](engine::DataSet &) {
            engine::raise(engine::ErrGeneral, QStringLiteral("Geht nicht."));
        }));
        nav.press(Nav::Edit);
        nav.press(Nav::Post);
        QCOMPARE(errors, QStringList{QStringLiteral("Geht nicht.")});
        QCOMPARE(clicked.count(), 2); // Edit only
        subs.clear();
        ds->cancel();
        dbui::setErrorSink(previous);
    }

    void visibleButtonsShareTheWidth()
    {
        Nav nav;
        nav.resize(100, 20);
        nav.setVisibleButtons({Nav::First, Nav::Prior, Nav::Next, Nav::Last});
        QCOMPARE(nav.visibleButtons().size(), 4);
        QVERIFY(!nav.isButtonVisible(Nav::Edit));
        QCOMPARE(nav.button(Nav::First)->geometry(), QRect(0, 0, 25, 20));
        QCOMPARE(nav.button(Nav::Last)->geometry(), QRect(75, 0, 25, 20));
        QCOMPARE(nav.button(Nav::Next)->toolTip(), QStringLiteral("Nächster Datensatz"));
        QCOMPARE(nav.button(Nav::Refresh)->objectName(), QStringLiteral("Refresh"));
        // A hidden button cannot be pressed.
        auto ds = makeSet(2);
        dbui::DataSource src(ds.get());
        nav.setDataSource(&src);
        nav.press(Nav::Edit);
        QCOMPARE(ds->state(), DataSetState::Browse);
    }
};

QTEST_MAIN(TstNavigator)
#include "tst_navigator.moc"
