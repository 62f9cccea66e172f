#include "kit/markup.h"
#include "kit/pzlabel.h"
#include "kit/scriptedpresenter.h"

#include <QPainter>
#include <QtTest>

namespace {

// Every character 10 pixels wide (20 in bold), lines 10 pixels high.
class FakeMeasurer : public MarkupMeasurer
{
public:
    int textWidth(const QString &run, const MarkupStyle &s) const override
    {
        return int(run.size()) * (s.bold ? 20 : 10);
    }
    int textHeight(const MarkupStyle &) const override { return 10; }
};

QString code(int c)
{
    return QString(kMarkupMarker) + QChar(c);
}

QString expanded(const QString &s)
{
    QString out = s;
    ExpandMarkup(out);
    return out;
}

MarkupLayout layout(const QString &caption, int width)
{
    return LayoutMarkup(caption, width, MarkupStyle(), FakeMeasurer());
}

QStringList lineTexts(const MarkupLayout &l)
{
    QStringList out;
    for (const MarkupLine &line : l.lines)
        out << line.coded;
    return out;
}

} // namespace

class TstMarkup : public QObject
{
    Q_OBJECT
private slots:
    void everyEscapeHasItsCode()
    {
        const char *exact[] = {"\\B", "\\b", "\\I", "\\i", "\\U", "\\u"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(expanded(QString::fromLatin1(exact[i]) + "x"), code(100 + i) + "x");
        const char *anyCase[] = {"N",      "cBlack", "cMaroon", "cGreen",  "cOlive", "cNavy",  "cPurple",
                                 "cTeal",  "cGray",  "cSilver", "cRed",    "cLime",  "cYellow", "cBlue",
                                 "cFuchsia", "cAqua", "cLtGray", "cDkGray", "cWhite", "cN"};
        for (int i = 0; i < 20; ++i) {
            const QString esc = QStringLiteral("\\") + QString::fromLatin1(anyCase[i]);
            QCOMPARE(expanded(esc + "x"), code(106 + i) + "x");
            QCOMPARE(expanded(esc.toLower() + "x"), code(106 + i) + "x");
            QCOMPARE(expanded(esc.toUpper() + "x"), code(106 + i) + "x");
        }
        QCOMPARE(MarkupCodeColor(111), QColor(0, 0, 128));
        QCOMPARE(MarkupCodeColor(122), QColor(192, 192, 192));
        QCOMPARE(MarkupCodeColor(124), QColor(255, 255, 255));
    }

    void replacementOrder()
    {
        // A doubled backslash is protected first: "\\b" shows a backslash and b.
        QCOMPARE(expanded("\\\\b"), QStringLiteral("\\b"));
        QCOMPARE(expanded("\\b"), code(101));
        QCOMPARE(expanded("\\\\\\B"), QStringLiteral("\\") + code(100));
        QCOMPARE(expanded("\\\\lb"), QStringLiteral("\\lb"));
        // The exact-case escapes come before the any-case ones.
        QCOMPARE(expanded("\\black"), code(101) + "lack");
        // "\cNavy" is replaced before "\cN", so the longer name wins.
        QCOMPARE(expanded("\\cNavyA\\cNA"), code(111) + "A" + code(125) + "A");
        QCOMPARE(expanded("\\cnavy"), code(111));
        // A backslash with small n resets the style.
        QCOMPARE(expanded("\\nix"), code(106) + "ix");
        // Unknown escapes show as typed.
        QCOMPARE(expanded("C:\\x\\y"), QStringLiteral("C:\\x\\y"));
        // A path with "\B" and "\N" is mangled unless its backslashes are doubled.
        QCOMPARE(expanded("C:\\Bilder\\Neu"), "C:" + code(100) + "ilder" + code(106) + "eu");
        // Stray control characters of stored text are not taken for codes.
        QCOMPARE(expanded(QString(QChar(1)) + "d" + QChar(0)), QStringLiteral("d"));
        QCOMPARE(StripMarkup("\\BFilm\\b \\cRed1\\lb2"), QStringLiteral("Film 1\n2"));
    }

    void lineBreakForms()
    {
        QCOMPARE(expanded("a\r\nb"), QStringLiteral("a\nb"));
        QCOMPARE(expanded("a\n\rb"), QStringLiteral("a\nb"));
        QCOMPARE(expanded("a\rb"), QStringLiteral("a\nb"));
        QCOMPARE(expanded("a\\LBb"), QStringLiteral("a\nb"));
        for (const char *brk : {"\\lb", "\r\n", "\n\r", "\r", "\n"}) {
            const MarkupLayout l = layout(QStringLiteral("ab") + QString::fromLatin1(brk) + "cd", 1000);
            QCOMPARE(lineTexts(l), (QStringList{"ab", "cd"}));
            QCOMPARE(l.block, QRect(0, 0, 20, 20)); // measured before the LF is cut; LFs have no width
        }
        QCOMPARE(lineTexts(layout("ab\n\ncd", 1000)), (QStringList{"ab", "", "cd"}));
    }

    void caseFoldingIsAsciiOnly()
    {
        QString s = QStringLiteral("xÄyäz");
        StringReplaceAll(s, QStringLiteral("ä"), QStringLiteral("-"), true);
        QCOMPARE(s, QStringLiteral("xÄy-z"));
        StringReplaceAll(s, QStringLiteral("XÄ"), QStringLiteral("+"), true);
        QCOMPARE(s, QStringLiteral("+y-z"));
        // Searching from the start again after each replacement: CR CR LF becomes one LF.
        QString crs = QStringLiteral("a\r\r\nb");
        StringReplaceAll(crs, QStringLiteral("\r\n"), QStringLiteral("\n"), false);
        QCOMPARE(crs, QStringLiteral("a\nb"));
    }

    void wrapping()
    {
        QCOMPARE(lineTexts(layout("aaa bbb", 55)), (QStringList{"aaa", "bbb"}));
        // Two blanks: the second opens the next line; only one trailing blank is cut.
        QCOMPARE(lineTexts(layout("aa  bb", 35)), (QStringList{"aa", " bb"}));
        // An over-wide word is broken after the last character that fits.
        QCOMPARE(lineTexts(layout("abcdefgh", 35)), (QStringList{"abc", "def", "gh"}));
        // A long unbroken value: lines of as many characters as fit.
        const MarkupLayout longWord = layout(QString(150, QLatin1Char('x')), 95);
        QCOMPARE(longWord.lines.size(), 17);
        QCOMPARE(longWord.lines[0].coded, QString(9, QLatin1Char('x')));
        QCOMPARE(longWord.lines[16].coded, QString(6, QLatin1Char('x')));
        // ... with a bold switch at a break: it ends the line that fits and
        // rules the next (bold characters are 20 pixels wide).
        const MarkupLayout switched = layout(QString(9, QLatin1Char('x')) + "\\B" + QString(100, QLatin1Char('y')), 95);
        QCOMPARE(switched.lines[0].coded, QString(9, QLatin1Char('x')) + code(100));
        QCOMPARE(switched.lines[1].coded, QString(4, QLatin1Char('y')));
        QVERIFY(switched.lines[1].runs[0].style.bold);
        // A label narrower than one character: each word whole on its own line.
        const MarkupLayout narrow = layout("ab cd", 5);
        QCOMPARE(lineTexts(narrow), (QStringList{"ab", "cd"}));
        QCOMPARE(narrow.block.width(), 30); // "ab " measured before its cut
        // Empty caption: no lines, an empty block.
        const MarkupLayout empty = layout(QString(), 100);
        QVERIFY(empty.lines.isEmpty());
        QCOMPARE(empty.block, QRect(0, 0, 0, 0));
    }

    void markersAreNeverSplit()
    {
        // "ab" + bold switch + "c" in 15 pixels: the pair goes with the b.
        const MarkupLayout l = layout("ab\\Bc", 15);
        QCOMPARE(lineTexts(l), (QStringList{"a", "b" + code(100), "c"}));
        QVERIFY(!l.lines[1].runs[0].style.bold);
        QVERIFY(l.lines[2].runs[0].style.bold);
        QCOMPARE(l.lines[2].width, 20);
    }

    void styleCarriesAcrossLines()
    {
        const MarkupLayout l = layout("\\Bab cd\\b ef \\Igh\\N ij", 100);
        QCOMPARE(lineTexts(l), (QStringList{code(100) + "ab", "cd" + code(101) + " ef", code(102) + "gh" + code(106) + " ij"}));
        QVERIFY(l.lines[0].runs[0].style.bold);
        QCOMPARE(l.lines[0].width, 40);
        QCOMPARE(l.lines[0].measuredWidth, 60); // the bold blank before its cut
        QVERIFY(l.lines[1].runs[0].style.bold);      // "cd" still bold
        QVERIFY(!l.lines[1].runs.last().style.bold); // "\b" switched it off
        QVERIFY(l.lines[2].runs[0].style.italic);
        QVERIFY(!l.lines[2].runs.last().style.italic); // "\N" resets to the label's style
        // Colours: the named colour, then back to the label's own.
        MarkupStyle base;
        base.color = QColor(1, 2, 3);
        const MarkupLayout c = LayoutMarkup("\\cNavyA\\cNB", 100, base, FakeMeasurer());
        QCOMPARE(c.lines[0].runs[0].style.color, QColor(0, 0, 128));
        QCOMPARE(c.lines[0].runs[1].style.color, QColor(1, 2, 3));
        QCOMPARE(c.lines[0].runs[1].x, 10);
    }

    void placement()
    {
        // The block width counts a wrapped line's trailing blank.
        MarkupLayout l = layout("aaaa bb", 60);
        QCOMPARE(l.block.width(), 50);
        PlaceMarkup(l, QSize(100, 40), haCenter, vaCenter);
        QCOMPARE(l.block, QRect(25, 10, 50, 20));
        QCOMPARE(l.lines[0].x, 25 + 25 - 20);
        QCOMPARE(l.lines[1].x, 25 + 25 - 10);
        QCOMPARE(l.lines[1].top, 20);
        PlaceMarkup(l, QSize(100, 40), haRight, vaBottom);
        QCOMPARE(l.lines[0].x, 50 + 50 - 40);
        QCOMPARE(l.lines[1].x, 50 + 50 - 20);
        QCOMPARE(l.lines[0].top, 20);
        PlaceMarkup(l, QSize(100, 40), haLeft, vaTop);
        QCOMPARE(l.lines[1].x, 0);
        // A word of which no character fits overflows to the right, still drawn as laid out.
        MarkupLayout wide = layout("ab cd", 5);
        PlaceMarkup(wide, QSize(5, 40), haCenter, vaTop);
        QCOMPARE(wide.block.left(), 2 - 15);
        QCOMPARE(wide.lines.size(), 2);
    }

    void labelWidget()
    {
        TPZLabel label;
        QCOMPARE(label.size(), QSize(65, 17));
        QVERIFY(label.Transparent());
        QCOMPARE(label.HorzAlignment(), haLeft);
        QCOMPARE(label.VertAlignment(), vaTop);
        QVERIFY(label.setProperty("Caption", QStringLiteral("x")));
        QCOMPARE(label.Caption(), QStringLiteral("x"));
        // Its pop-up menu opens through the presenter on a right click.
        kit::ScriptedPresenter p;
        QMenu menu;
        menu.setObjectName(QStringLiteral("PopupLabel"));
        menu.addAction(QStringLiteral("&Kopieren"));
        label.SetPopupMenu(&menu);
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), QPoint(3, 3));
        QCoreApplication::sendEvent(&label, &e);
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().objectName, QStringLiteral("PopupLabel"));
    }

    void labelRepaintsOnlyOnChange()
    {
        QWidget top;
        top.resize(200, 50);
        auto *label = new TPZLabel(&top);
        int paints = 0;
        struct Counter : QObject {
            int *n;
            explicit Counter(int *c) : n(c) {}
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    ++*n;
                return false;
            }
        } counter(&paints);
        label->installEventFilter(&counter);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        QCoreApplication::processEvents();
        paints = 0;
        label->SetCaption(label->Caption());
        label->SetHorzAlignment(haLeft);
        label->SetVertAlignment(vaTop);
        label->SetTransparent(true);
        label->SetColor(Qt::green); // transparent: the colour is not shown
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);
        label->SetCaption(QStringLiteral("neu"));
        QCoreApplication::processEvents();
        QCOMPARE(paints, 1);
        label->SetHorzAlignment(haCenter);
        QCoreApplication::processEvents();
        QCOMPARE(paints, 2);
    }

    void labelDrawsColoursAndBackground()
    {
        TPZLabel label;
        label.resize(120, 30);
        label.SetTransparent(false);
        label.SetColor(QColor(0, 255, 0));
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(20);
        label.setFont(f);
        label.SetCaption(QStringLiteral("\\cRed\\BMMM"));
        const QImage img = label.grab().toImage();
        QCOMPARE(img.pixelColor(119, 29), QColor(0, 255, 0)); // opaque background
        bool red = false;
        for (int y = 0; y < img.height() && !red; ++y)
            for (int x = 0; x < img.width() && !red; ++x)
                red = img.pixelColor(x, y) == QColor(255, 0, 0);
        QVERIFY(red);
        // Nothing of the escapes is drawn: the bold run's width is that of "MMM" alone.
        const MarkupLayout l = label.Layout();
        QCOMPARE(l.lines.size(), 1);
        QCOMPARE(l.lines[0].runs.size(), 1);
        QCOMPARE(l.lines[0].runs[0].text, QStringLiteral("MMM"));
    }
};

QTEST_MAIN(TstMarkup)
#include "tst_markup.moc"
