// The controls' errors and delete questions reach the program's boxes.
#include "program/controlhandlers.h"
#include "dbui/datasource.h"
#include "dbui/dbnavigator.h"
#include "dbui/errorsink.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/scriptedpresenter.h"

#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace engine;

class TstControlHandlers : public QObject
{
    Q_OBJECT
private slots:
    void errorsShowTheErrorBox()
    {
        kit::ScriptedPresenter p;
        InstallControlHandlers();
        dbui::reportError(QStringLiteral("Der Wert passt nicht."));
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
        QCOMPARE(p.last().text, QStringLiteral("Der Wert passt nicht."));
        QCOMPARE(p.last().icon, kit::BoxIcon::Error);
    }

    void navigatorDeletesOnlyOnYes()
    {
        QTemporaryDir dir;
        TableDef def;
        def.name = QStringLiteral("T");
        def.fields = {FieldDef(QStringLiteral("Nr"), FieldType::Integer)};
        def.primaryKeyFields = 1;
        const QString path = dir.filePath(QStringLiteral("T.DB"));
        createTableFile(path, def);
        Session s;
        Table t(&s);
        t.setTableName(path);
        t.open();
        for (int i = 1; i <= 2; ++i) {
            t.append();
            t.fieldByName(QStringLiteral("Nr"))->setValue(i);
            t.post();
        }
        dbui::DataSource source(&t);
        dbui::DbNavigator nav;
        nav.setDataSource(&source);

        kit::ScriptedPresenter p;
        InstallControlHandlers();
        p.answer(mrNo);
        nav.button(dbui::DbNavigator::Delete)->click();
        QCOMPARE(t.recordCount(), 2);
        QCOMPARE(p.last().caption, QStringLiteral("Bestätigen"));
        p.answer(mrYes);
        nav.button(dbui::DbNavigator::Delete)->click();
        QCOMPARE(t.recordCount(), 1);
    }
};

QTEST_MAIN(TstControlHandlers)
#include "tst_controlhandlers.moc"
