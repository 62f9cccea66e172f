// Labels printed into a PDF at 254 dpi (a pixel is a tenth of a millimetre)
// and read back with pdftoppm and pdftotext: the label edges and the titles
// land where the geometry puts them; the calibration moves only the
// self-adhesive output; a millimetre is ten pixels. The progress window, a
// cancelled job and a job left by an error.
#include "app/settingsfixture.h"
#include "kit/enterexitbutton.h"
#include "kit/pzlabel.h"
#include "print/labelformat.h"
#include "windows/labels/labelprint.h"
#include "windows/printing/printjob.h"
#include "windows/printing/wprint.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

TLabelMedium medium(const QString &kind, int nr, const QStringList &titles)
{
    TLabelMedium m;
    m.Medium = kind;
    m.Nr = nr;
    m.Films.resize(5);
    for (int i = 0; i < 5; ++i) {
        m.Films[size_t(i)].Exists = i < titles.size();
        if (i < titles.size())
            m.Films[size_t(i)].Titel = titles.at(i);
    }
    return m;
}

void pdfPrinter(QPrinter &p, const QString &file)
{
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(file);
    p.setResolution(254);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Portrait);
}

// Word -> (xMin, yMin) in pixels at 254 dpi.
QMap<QString, QPointF> words(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QMap<QString, QPointF> out;
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!out.contains(m.captured(3)))
            out.insert(m.captured(3), QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * 254.0 / 72.0);
    }
    return out;
}

QImage firstPage(const QString &pdf, const QString &dir)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-f"), QStringLiteral("1"),
             QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), pdf, dir + QStringLiteral("/page")});
    p.waitForFinished(60000);
    QImage img(dir + QStringLiteral("/page-1.png"));
    if (img.isNull())
        img.load(dir + QStringLiteral("/page-01.png"));
    return img;
}

bool dark(const QImage &img, int x, int y)
{
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && qGray(img.pixel(x, y)) < 128;
}
bool darkNear(const QImage &img, int x, int y, bool alongX)
{
    for (int d = -1; d <= 1; ++d)
        if (dark(img, alongX ? x + d : x, alongX ? y : y + d))
            return true;
    return false;
}

} // namespace

class TestLabelPrint : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    QTemporaryDir dir;

private slots:
    void init()
    {
        fx.setUp();
        LabelKind = lkSpine;
        ZFOn = false;
        ActiveLabelFormat = TLabelFormat();
        ActiveLabelFormat.RandL = 200;
        ActiveLabelFormat.RandO = 300;
        NrEtiSeparate = false;
        SymbolFile.clear();
        VCenter = true;
        ZFSheetLayout = TZFSheetLayout();
    }

    void labelsLandWhereTheGeometrySays()
    {
        const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        const QList<TLabelMedium> media{medium(QStringLiteral("VHS-SB"), 1, {QStringLiteral("Alpha")}),
                                        medium(QStringLiteral("VHS-SB"), 2, {QStringLiteral("Beta"), QStringLiteral("Gamma")})};
        const TLabelPrintResult r = PrintLabels(printer, media, 2, art);
        QVERIFY(r.ok);
        QCOMPARE(r.printed, 2);
        QVERIFY(fx.presenter->shown().isEmpty());

        // Start label 2: the labels at positions 1 and 2, 20 mm apart.
        const QImage page = firstPage(pdf, dir.path());
        if (!qEnvironmentVariableIsEmpty("TARVO_SCREEN_OUT"))
            page.save(qEnvironmentVariable("TARVO_SCREEN_OUT"));
        QCOMPARE(page.width(), 2100);
        QVERIFY(page.height() >= 2970 && page.height() <= 2971); // 841.89 points
        for (int pos = 1; pos <= 2; ++pos) {
            // 147.3 mm are 1473 pixels; an outline sits on the first and the
            // last pixel of its label.
            const int top = 300 + pos * 200, left = 200, right = 200 + 1473 - 1, bottom = top + 200 - 1;
            QVERIFY(darkNear(page, left, top + 150, true));
            QVERIFY(darkNear(page, right, top + 150, true));
            QVERIFY(darkNear(page, 800, top, false));
            QVERIFY(darkNear(page, 800, bottom, false));
            QVERIFY(!dark(page, left - 4, top + 150));
        }
        QVERIFY(!darkNear(page, 800, 300, false)); // position 0 stays empty
        // Titles 13 mm right of the label's edge.
        const auto w = words(pdf);
        QVERIFY(w.contains(QStringLiteral("Alpha")));
        QVERIFY(qAbs(w.value(QStringLiteral("Alpha")).x() - 330) <= 1.5);
        QVERIFY(qAbs(w.value(QStringLiteral("Gamma")).x() - 330) <= 1.5);
        QVERIFY(w.value(QStringLiteral("Alpha")).y() > 500 && w.value(QStringLiteral("Alpha")).y() < 700);
        QVERIFY(w.value(QStringLiteral("Beta")).y() > 700 && w.value(QStringLiteral("Gamma")).y() < 900);
        QVERIFY(w.value(QStringLiteral("Beta")).y() < w.value(QStringLiteral("Gamma")).y());
    }

    void aMillimetreIsTenPixelsAt254Dpi()
    {
        // The spine label, 147.5 × 20 mm from 10/10 mm, at position 1: the
        // scale comes from the resolution, not from the page's size in whole
        // pixels over whole millimetres (2099 over 210 across).
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, false, ZFSheetLayout);
        const QString pdf = dir.filePath(QStringLiteral("size.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        QVERIFY(PrintLabels(printer, {medium(QStringLiteral("VHS-SB"), 1, {QStringLiteral("Alpha")})}, 2, art).ok);
        const QImage page = firstPage(pdf, dir.path());
        // The outline's outer pixels along the label's middle row and along a
        // column near its right end.
        auto extent = [&](bool alongX, int at, int from, int to) {
            int first = -1, last = -1;
            for (int i = from; i < to; ++i)
                if (alongX ? dark(page, i, at) : dark(page, at, i)) {
                    if (first < 0)
                        first = i;
                    last = i;
                }
            return QPair<int, int>(first, last);
        };
        const QPair<int, int> across = extent(true, 340 + 100, 0, page.width());
        const QPair<int, int> down = extent(false, 100 + 1460, 300, 600);
        // Exactly 1475 × 200 pixels; the PDF's strokes are centred on the
        // edge, so the outline may begin half a pixel before it.
        QCOMPARE(across.second - across.first + 1, 1475);
        QCOMPARE(down.second - down.first + 1, 200);
        QVERIFY(qAbs(across.first - 100) <= 1 && qAbs(down.first - 340) <= 1);
    }

    void anErrorInsideTheJobLeavesNoJobBehind()
    {
        struct BrokenArt : TProgDirArtProvider
        {
            using TProgDirArtProvider::TProgDirArtProvider;
            QImage symbol(const QString &) override { throw std::runtime_error("Symbol nicht lesbar"); }
        };
        const QString pdf = dir.filePath(QStringLiteral("broken.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        BrokenArt art(dir.path() + QLatin1Char('/'));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 PrintLabels(printer, {medium(QStringLiteral("VHS-SB"), 1, {QStringLiteral("Alpha")})}, 1, art));
        QVERIFY(!printer.paintingActive());
        QVERIFY(!QFile::exists(pdf));
        QTRY_VERIFY(!PrintProgressWindow());
        // The printer takes the next job.
        QPainter p;
        QVERIFY(p.begin(&printer));
        p.end();
    }

    void calibrationMovesOnlySelfAdhesiveOutput()
    {
        ZFSheetLayout.ZFKX = 30;  // 3 mm right
        ZFSheetLayout.ZFKY = -20; // 2 mm up
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        auto titleAt = [&](bool zf) {
            ZFOn = zf;
            ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, zf, ZFSheetLayout);
            const QString pdf = dir.filePath(zf ? QStringLiteral("zf.pdf") : QStringLiteral("plain.pdf"));
            QPrinter printer(QPrinter::HighResolution);
            pdfPrinter(printer, pdf);
            PrintLabels(printer, {medium(QStringLiteral("VHS-SB"), 1, {QStringLiteral("Delta")})}, 1, art);
            // Relative to the label's top as the format has it.
            return words(pdf).value(QStringLiteral("Delta")) - QPointF(0, ActiveLabelFormat.RandO);
        };
        const QPointF plain = titleAt(false);
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, false, ZFSheetLayout);
        QVERIFY(qAbs(plain.x() - (ActiveLabelFormat.RandL + 130)) <= 1.5);
        const QPointF zf = titleAt(true);
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, true, ZFSheetLayout);
        QVERIFY(qAbs(zf.x() - (ActiveLabelFormat.RandL + 30 + 130)) <= 1.5);
        // Inside the label the title sits alike; the calibration lifts it 2 mm.
        QVERIFY(qAbs(zf.y() - (plain.y() - 20)) <= 1.5);
    }

    void refusedMediaAreToldAndSkipped()
    {
        const QString pdf = dir.filePath(QStringLiteral("refused.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        TProgDirArtProvider art(dir.path() + QLatin1Char('/'));
        const TLabelPrintResult r = PrintLabels(printer, {medium(QStringLiteral("VHS-SB"), 4, {})}, 1, art);
        QCOMPARE(r.printed, 0);
        QVERIFY(!r.ok);
        QCOMPARE(fx.presenter->shown().at(0).caption, QStringLiteral("Hinweis"));
        QVERIFY(!QFile::exists(pdf)); // nothing printed, no file claims otherwise
    }

    void cancelRemovesThePartlyWrittenFile()
    {
        const QString pdf = dir.filePath(QStringLiteral("cancel.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        TPrintJob job(printer);
        ShowPrintProgress(&job, QStringLiteral("Etikett(en) drucken"), QStringLiteral("a"), QStringLiteral("b"));
        QVERIFY(job.begin(QStringLiteral("TarVO - Etikett")));
        StartPrintProgress();
        job.painter().drawRect(10, 10, 100, 100);
        TWPrint *w = PrintProgressWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Etikett(en) drucken"));
        w->BtnAbbruch->click();
        QVERIFY(job.aborted());
        QVERIFY(!job.end());
        QVERIFY(!QFile::exists(pdf));
        QTRY_VERIFY(!PrintProgressWindow());
    }

    void progressWindowAfterTheJob()
    {
        const QString pdf = dir.filePath(QStringLiteral("done.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        auto *job = new TPrintJob(printer);
        ShowPrintProgress(job, QStringLiteral("Etikett(en) drucken"), QStringLiteral("erstellt"),
                          QStringLiteral("gedruckt"));
        TWPrint *w = PrintProgressWindow();
        QVERIFY(job->begin(QStringLiteral("TarVO - Etikett")));
        StartPrintProgress();
        QVERIFY(w->Timer1->isActive());
        QVERIFY(w->Image1->isVisible() && !w->Image2->isVisible());
        w->Timer1Timer(); // still creating: the animation steps
        QVERIFY(w->Image2->isVisible());
        QCOMPARE(w->PZLabel1->Caption(), QStringLiteral("erstellt"));
        QVERIFY(job->end());
        delete job;
        QVERIFY(QFile::exists(pdf));
        w->Timer1Timer(); // handed over: the printing text, no cancel, 7 s to go
        QCOMPARE(w->PZLabel1->Caption(), QStringLiteral("gedruckt"));
        QVERIFY(!w->BtnAbbruch->isEnabled());
        QVERIFY(w->Timer2->isActive());
        QCOMPARE(w->Timer2->interval(), 7000);
        w->Timer1Timer();
        w->Timer1Timer(); // the third picture, then all vanish together
        QVERIFY(!w->Image2->isVisible() && !w->Image4->isVisible());
        w->Timer2Timer();
        QTRY_VERIFY(!PrintProgressWindow());
    }
};

QTEST_MAIN(TestLabelPrint)
#include "tst_labelprint.moc"
