// The check boxes' pictures and the click sound, drawn here at build time.
// Every picture is 16 x 16 on a magenta background, which the kit takes as
// transparent (the colour of the bottom-left pixel).
#include "generator.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <cmath>

namespace {

const QColor kKey(255, 0, 255);
const QColor kFace(212, 208, 200);
const QColor kShadow(128, 128, 128);
const QColor kDark(64, 64, 64);

QImage blankImage()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(kKey);
    return img;
}

bool save(const QImage &img, const QString &progDir, const QString &name)
{
    const QString path = progDir + QStringLiteral("/Resources/") + name + QStringLiteral(".bmp");
    return gen::saveImage(img, path, "BMP");
}

QImage box(bool flat, bool round, bool enabled)
{
    QImage img = blankImage();
    QPainter p(&img);
    const QColor fill = enabled ? QColor(Qt::white) : kFace;
    const QRect r(1, 1, 13, 13);
    if (round) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setBrush(fill);
        p.setPen(flat ? kShadow : kDark);
        p.drawEllipse(r);
        if (!flat) {
            p.setPen(QPen(kShadow, 1));
            p.drawArc(r.adjusted(-1, -1, 1, 1), 45 * 16, 180 * 16);
            p.setPen(QPen(Qt::white, 1));
            p.drawArc(r.adjusted(-1, -1, 1, 1), 225 * 16, 180 * 16);
        }
        return img;
    }
    p.fillRect(r, fill);
    if (flat) {
        p.setPen(kShadow);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        p.setPen(kShadow);
        p.drawLine(1, 1, 13, 1);
        p.drawLine(1, 1, 1, 13);
        p.setPen(kDark);
        p.drawLine(2, 2, 12, 2);
        p.drawLine(2, 2, 2, 12);
        p.setPen(Qt::white);
        p.drawLine(1, 13, 13, 13);
        p.drawLine(13, 1, 13, 13);
        p.setPen(kFace);
        p.drawLine(2, 12, 12, 12);
        p.drawLine(12, 2, 12, 12);
    }
    return img;
}

// Grayed is the state of an empty field: a filled square, which nobody reads
// as a tick or a cross.
enum class Mark { Cross, Hook, Ellipse, Question, Grayed };

QImage mark(Mark kind, const QColor &c)
{
    QImage img = blankImage();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(c, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    switch (kind) {
    case Mark::Cross:
        p.drawLine(4, 4, 10, 10);
        p.drawLine(10, 4, 4, 10);
        break;
    case Mark::Hook: {
        const QPoint pts[] = {{3, 7}, {6, 10}, {11, 4}};
        p.drawPolyline(pts, 3);
        break;
    }
    case Mark::Ellipse:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QRect(4, 4, 7, 7));
        break;
    case Mark::Grayed:
        p.fillRect(QRect(4, 4, 7, 7), c);
        break;
    case Mark::Question: {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(12);
        f.setBold(true);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.drawText(QRect(1, 1, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return img;
}

// A short dry click: a noise burst under a fast exponential decay.
QByteArray clickWav()
{
    const int rate = 22050;
    const int samples = rate * 25 / 1000;
    QByteArray pcm;
    pcm.resize(samples * 2);
    quint32 seed = 12345;
    for (int i = 0; i < samples; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double noise = ((seed >> 16) & 0x7FFF) / 16384.0 - 1.0;
        const double tone = std::sin(2 * M_PI * 2400.0 * i / rate);
        const double env = std::exp(-double(i) / (rate * 0.003));
        const auto v = static_cast<qint16>(std::lround(9000.0 * env * (0.6 * noise + 0.4 * tone)));
        qToLittleEndian<qint16>(v, pcm.data() + 2 * i);
    }
    QByteArray wav;
    auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(36 + pcm.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);        // PCM
    u16(1);        // mono
    u32(rate);
    u32(rate * 2); // bytes per second
    u16(2);        // block align
    u16(16);       // bits
    wav.append("data");
    u32(pcm.size());
    wav.append(pcm);
    return wav;
}

} // namespace

TARVO_GENERATOR(genKitCheck, "check boxes")
{
    bool ok = true;
    for (bool round : {false, true}) {
        const QString rnd = round ? QStringLiteral("Rnd") : QString();
        ok &= save(box(true, round, true), progDir, QStringLiteral("BlankFlat") + rnd);
        ok &= save(box(false, round, true), progDir, QStringLiteral("Blank") + rnd);
        ok &= save(box(true, round, false), progDir, QStringLiteral("EnabledFlat") + rnd);
        ok &= save(box(false, round, false), progDir, QStringLiteral("Enabled") + rnd);
    }
    const QColor red(208, 16, 16), blue(16, 64, 192), green(16, 128, 16), lime(64, 192, 0), gray(150, 150, 150);
    ok &= save(mark(Mark::Cross, red), progDir, QStringLiteral("CheckIks"));
    ok &= save(mark(Mark::Hook, blue), progDir, QStringLiteral("CheckOk"));
    ok &= save(mark(Mark::Ellipse, blue), progDir, QStringLiteral("CHECKELLI"));
    ok &= save(mark(Mark::Cross, blue), progDir, QStringLiteral("CHECKEIKSB"));
    ok &= save(mark(Mark::Cross, green), progDir, QStringLiteral("CHECKIKSG"));
    ok &= save(mark(Mark::Hook, lime), progDir, QStringLiteral("CHECKOKG"));
    ok &= save(mark(Mark::Hook, red), progDir, QStringLiteral("CheckOkR"));
    ok &= save(mark(Mark::Question, red), progDir, QStringLiteral("QMR"));
    ok &= save(mark(Mark::Question, blue), progDir, QStringLiteral("QMB"));
    ok &= save(mark(Mark::Question, green), progDir, QStringLiteral("QMG"));
    ok &= save(mark(Mark::Grayed, gray), progDir, QStringLiteral("IKSGRAY"));
    ok &= save(mark(Mark::Grayed, gray), progDir, QStringLiteral("CHECKGRAY"));

    const QString wav = progDir + QStringLiteral("/Resources/klik.wav");
    QFile f(wav);
    ok &= gen::ensureParent(wav) && f.open(QIODevice::WriteOnly) && f.write(clickWav()) > 0;
    return ok;
}
