// Every text of the built windows fits its control in the fonts they use:
// here the windows the walk over the menus does not open.
#include "cardfixture.h"

#include "kit/textfit.h"
#include "windows/cards/dsn.h"
#include "windows/cards/freeareadialogs.h"
#include "windows/main/mainquicksearch.h"
#include "windows/cards/mediumkind.h"
#include "windows/tables/tablemaintenancedialogs.h"
#include "windows/cards/tdlenenter.h"

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
    void initTestCase() { kit::UseProgramFont(); }
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

    void cardDialogs()
    {
        // The playing-time dialog with all its pages; the keys of its labels
        // go to their fields, no "&" shows.
        std::unique_ptr<TDLenEnter> len(CreateForm<TDLenEnter>());
        LenEnterState s;
        s.length = 95;
        s.tapeLength = 240;
        s.atts = true;
        len->Setup(s, true);
        len->show();
        fits(kit::CutOffTexts(len.get()));
        // The password dialog draws its padlock, a picture of its own.
        std::unique_ptr<TDPwd> pwd(CreateForm<TDPwd>());
        pwd->show();
        fits(kit::CutOffTexts(pwd.get()));
        QVERIFY(pwd->Image1->text().isEmpty());
        QVERIFY(!pwd->Image1->pixmap().isNull());
        // The serial number of a medium: read anew or deleted.
        std::unique_ptr<TDSN> sn(CreateForm<TDSN>());
        sn->SetForMedium(true, false);
        sn->show();
        fits(kit::CutOffTexts(sn.get()));
        fits(kit::ControlsOutside(sn.get()));
    }

    void quickSearchPanel()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, card::numberedFilms(2, 60));
        TMainform &form = fx.open();
        form.show();
        form.QuickSearch(QStringLiteral("Film"));
        form.SetQuickSearchMode(1);
        QWidget *panel = form.QuickSearchPart->PanelExpanded;
        QVERIFY(panel->isVisible());
        fits(kit::CutOffTexts(panel));
        fits(kit::ControlsOutside(panel));
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
