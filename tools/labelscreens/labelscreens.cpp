// Shows the label set-up (user formats page with its frames window), the
// kind chooser and a window-label sheet drawn by the label model, side by
// side, for screenshots; ends by itself after a few seconds. Settings and
// the per-user folder live in a temporary folder.
#include "app/settings.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/enterexitbutton.h"
#include "kit/kitfiles.h"
#include "platform/registry.h"
#include "print/labelformat.h"
#include "print/labelsymbols.h"
#include "print/labeltext.h"
#include "print/sheetlayout.h"
#include "windows/labels/detikind.h"
#include "kit/pagecontroles.h"
#include "windows/labels/dzfsetup.h"
#include "windows/labels/dzfsetupframes.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void sampleFormat(const QString &path)
{
    engine::createTableFile(path, UserLabelsTableDef());
    engine::Session session;
    engine::Table t(&session);
    t.setTableName(path);
    t.open();
    t.append();
    t.fieldByName(QStringLiteral("Name"))->setValue(QStringLiteral("DVD-Hülle innen"));
    const QList<QPair<const char *, int>> ints = {{"RandO", 150}, {"RandL", 120}, {"SpaltenAnz", 2}, {"ZeilenAnz", 3},
                                                  {"Breite", 880}, {"Hoehe", 820}, {"Ax", 40}, {"Ay", 60},
                                                  {"MaxFAnz", 4}, {"Drucktyp", 3}, {"ImgMaxZoom", 200},
                                                  {"R1l", 40}, {"R1r", 40}, {"R1o", 40}, {"R1u", 420},
                                                  {"R2l", 40}, {"R2r", 460}, {"R2o", 440}, {"R2u", 40},
                                                  {"R2Drucktyp", 5}};
    for (const auto &v : ints)
        t.fieldByName(QLatin1String(v.first))->setValue(v.second);
    for (const char *b : {"R1", "R2", "R2Border", "ZF"})
        t.fieldByName(QLatin1String(b))->setValue(true);
    for (const char *b : {"Quer", "ImgPreferBLOB", "R1Border", "R3"})
        t.fieldByName(QLatin1String(b))->setValue(false);
    t.post();
}

// Two window labels drawn by the label model at the preview's scale.
QImage sampleLabels()
{
    TLabelFormat f;
    ApplyBuiltInLabelKind(f, lkWindow, false, TZFSheetLayout());
    f.RandL = f.RandO = 20;
    const TLabelScale s = DpiLabelScale(96, 96);
    TProgDirArtProvider art(ProgDir);
    TLabelMedium m;
    m.Medium = QStringLiteral("VHS-SB");
    const char *titles[][2] = {{"Casablanca", "Ein Klassiker"}, {"Metropolis", ">: Restaurierte Fassung"},
                               {"Der dritte Mann", ""}, {"Nosferatu", "Eine Symphonie des Grauens"}};
    for (int i = 0; i < 4; ++i) {
        TLabelFilm film;
        film.Titel = QString::fromUtf8(titles[i][0]);
        if (*titles[i][1])
            film.Untertitel = QString::fromUtf8(titles[i][1]);
        film.Len = 95 + 12 * i;
        film.Ton = QString(QLatin1Char("SMAD"[i]));
        film.SW = i % 2;
        film.Wide = i == 3;
        film.Wertung = i + 2;
        m.Films.push_back(film);
    }
    TLabelSettings o;
    o.PrintLen = o.PrintEndPos = o.PrintTon = o.PrintSterne = true;
    o.FormatSymbMode = 1;
    const QRect r = LabelRectOnSheet(f, 0, s, false, TZFSheetLayout());
    QImage img(r.right() + 40, r.bottom() + 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    TLabelLayout out;
    out.rect(r);
    const int n = 4, pitch = (r.height() - s.py(40)) / n, extra = pitch / 3;
    const TFilmFonts fonts = FilmFonts(QFont(QStringLiteral("Liberation Sans")), {11, 9, 7}, s.yPerMm(), false);
    TFilmLinesState st;
    for (int k = 1; k <= n; ++k) {
        const int top = r.top() + s.py(20) + (k - 1) * pitch;
        DrawFilmSymbols(out, m.Films[size_t(k - 1)], QRect(r.right() - s.px(20) - extra, top + pitch - extra, extra, extra),
                        2, false, {true, true, false, true}, o, art);
        DrawWindowFilmLines(out, BuildFilmLabelLines(m, k, ptWindow, o, art, st), fonts, r.left() + s.px(20), top,
                            pitch, extra, r.width() - s.px(30));
    }
    QPainter p(&img);
    PaintLabelLayout(p, out);
    return img;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setUserRegistryFile(dir.filePath(QStringLiteral("config/user.reg")));
    platform::setMachineRegistryFiles(dir.filePath(QStringLiteral("nosys/machine.reg")),
                                      dir.filePath(QStringLiteral("config/machine.reg")));
    InitSettingsDefaults(QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/'));
    SetKitProgramFolder(QStringLiteral(TARVO_PROGDIR));
    SetProfileBaseDir(dir.filePath(QStringLiteral("data")));
    const QString profile = dir.filePath(QStringLiteral("data/Ozo-Software/Tarvo/"));
    QDir().mkpath(profile);
    platform::Registry r;
    r.openKey(QStringLiteral("Software\\Ozo-Software\\TARVO"), true);
    r.writeString(QStringLiteral("ProfileDir"), profile);
    sampleFormat(profile + UserLabelsTableFile);
    ZFShowHint = false;

    auto *setup = CreateForm<TDZFSetup>();
    setup->move(10, 10);
    setup->PageControl1->setCurrentIndex(4);
    setup->show();
    setup->BtnFrames->click();
    if (setup->FramesWindow())
        setup->FramesWindow()->move(630, 10);

    auto *kind = CreateForm<TDEtiKind>(true, 3);
    kind->move(10, 470);
    kind->show();

    QLabel sheet;
    sheet.setWindowTitle(QStringLiteral("Fensteretikett (Etikettenmodell)"));
    sheet.setPixmap(QPixmap::fromImage(sampleLabels()));
    sheet.move(630, 540);
    sheet.show();

    QTimer::singleShot(argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() * 1000 : 8000, &app, &QApplication::quit);
    return app.exec();
}
