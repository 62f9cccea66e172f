// Every text of the built windows fits its control in the fonts they use.
#include "cardfixture.h"

#include "kit/textfit.h"
#include "windows/freeareadialogs.h"
#include "windows/mediumkind.h"

#include <QLabel>
#include <QtTest>

void fits(const QStringList &cut)
{
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(" | "))));
}

class TestTextFit : public QObject
{
    Q_OBJECT
    card::Fixture fx;

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void kindChooserAndFilterDialogs()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        TDMedienDropDown kinds;
        kinds.show();
        fits(kit::CutOffTexts(&kinds));
        std::unique_ptr<TDFilter> filter(CreateForm<TDFilter>());
        filter->show();
        fits(kit::CutOffTexts(filter.get()));
        std::unique_ptr<TDSplitFree> split(CreateForm<TDSplitFree>());
        split->show();
        fits(kit::CutOffTexts(split.get()));
    }

    void statusLineWhenFiltered()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        TMainform &form = fx.open();
        form.show();
        form.Table1->setFiltered(true);
        form.UpdateStatusLine();
        QVERIFY(form.Component<QLabel>("Status2")->text().contains(QStringLiteral("GEFILTERT")));
        fits(kit::CutOffTexts(form.Component<QLabel>("Status2")->parentWidget()).filter(QStringLiteral("Status")));
        form.Table1->setFiltered(false);
        form.UpdateStatusLine();
        fits(kit::CutOffTexts(form.Component<QLabel>("Status2")->parentWidget()).filter(QStringLiteral("Status")));
    }
};

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
