#include "dbui/pictureloader.h"
#include "jpegsample.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using dbui::PictureFormat;
using dbui::PictureLoader;

namespace {

QByteArray bmpBytes(const QImage &img)
{
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Lossy compression: compare colours within a tolerance.
bool near(QRgb a, QRgb b, int tol)
{
    return qAbs(qRed(a) - qRed(b)) <= tol && qAbs(qGreen(a) - qGreen(b)) <= tol
           && qAbs(qBlue(a) - qBlue(b)) <= tol;
}

} // namespace

class TstPictureLoader : public QObject
{
    Q_OBJECT
private slots:
    void goodJpeg()
    {
        const QImage src = testdata::samplePicture(120, 80);
        const QByteArray jpeg = testdata::encodeJpeg(src, 95);
        QCOMPARE(PictureLoader::detect(jpeg), PictureFormat::Jpeg);
        const auto r = PictureLoader::decode(jpeg);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.image.size(), QSize(120, 80));
        // Inside a flat block, away from the edges of the checker pattern.
        QVERIFY(near(r.image.pixel(8, 8), src.pixel(8, 8), 12));
        QVERIFY(near(r.image.pixel(100, 70), src.pixel(100, 70), 12));

        const auto gray = PictureLoader::decode(testdata::encodeJpeg(src, 90, true));
        QVERIFY2(gray.ok(), qPrintable(gray.error));
        const QRgb g = gray.image.pixel(40, 40);
        QVERIFY(qRed(g) == qGreen(g) && qGreen(g) == qBlue(g));
    }

    void cmykJpeg()
    {
        const unsigned char red[4] = {255, 0, 0, 255}; // inverted: no cyan, full magenta and yellow
        const auto r = PictureLoader::decode(testdata::encodeCmykJpeg(16, 16, red));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QVERIFY(near(r.image.pixel(8, 8), qRgb(255, 0, 0), 8));
    }

    static QByteArray claimingSize(int width, int height)
    {
        QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(16, 16));
        // The frame header: FF C0, length, precision, height, width.
        const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
        jpeg[sof + 5] = char(height >> 8);
        jpeg[sof + 6] = char(height & 0xFF);
        jpeg[sof + 7] = char(width >> 8);
        jpeg[sof + 8] = char(width & 0xFF);
        return jpeg;
    }

    void hugeDimensionsRefusedBeforeAllocating()
    {
        for (const QSize claim : {QSize(60000, 60000), QSize(14000, 14000), QSize(8001, 8000)}) {
            const auto r = PictureLoader::decode(claimingSize(claim.width(), claim.height()), QSize(200, 200));
            QVERIFY(!r.ok());
            QVERIFY2(r.error.contains(QStringLiteral("zu groß")), qPrintable(r.error));
            QVERIFY(r.error.contains(QStringLiteral("höchstens 64 Millionen Bildpunkte")));
        }
        // A cover at the limit is not refused for its size, and comes out
        // at the size it is shown.
        const auto atLimit = PictureLoader::decode(claimingSize(8000, 8000), QSize(200, 200));
        QVERIFY2(!atLimit.error.contains(QStringLiteral("zu groß")), qPrintable(atLimit.error));
        if (atLimit.ok())
            QCOMPARE(atLimit.image.size(), QSize(200, 200));
    }

    void decodedNoLargerThanShown()
    {
        const QImage src = testdata::samplePicture(800, 600);
        const QByteArray jpeg = testdata::encodeJpeg(src);
        // Shown in 100 x 100: 100 x 75 (from libjpeg's 1/8 scale).
        QCOMPARE(PictureLoader::decode(jpeg, QSize(100, 100)).image.size(), QSize(100, 75));
        // 3/8 (300 x 225) covers 250 x 187, brought down to it.
        QCOMPARE(PictureLoader::decode(jpeg, QSize(250, 250)).image.size(), QSize(250, 187));
        // Never enlarged; no fit is full size.
        QCOMPARE(PictureLoader::decode(jpeg, QSize(2000, 2000)).image.size(), QSize(800, 600));
        QCOMPARE(PictureLoader::decode(jpeg).image.size(), QSize(800, 600));
        // The scaled picture is the same picture.
        const QImage small = PictureLoader::decode(jpeg, QSize(80, 60)).image;
        const QImage ref = src.scaled(80, 60, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(near(small.pixel(40, 30), ref.pixel(40, 30), 24));
        // Other formats follow the same rule.
        QCOMPARE(PictureLoader::decode(bmpBytes(src), QSize(100, 100)).image.size(), QSize(100, 75));
        QCOMPARE(PictureLoader::shownSize(QSize(800, 600), QSize(1, 1)), QSize(1, 1));
        QCOMPARE(PictureLoader::shownSize(QSize(20, 10), QSize(30, 30)), QSize(20, 10));
    }

    void damagedBytesNeverCrash()
    {
        // Every variant either decodes or says why; none may bring the
        // program down.
        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(64, 64));
        const QByteArray bmp = bmpBytes(testdata::samplePicture(21, 13));
        quint32 seed = 12345;
        const auto next = [&seed] {
            seed = seed * 1103515245u + 12345u;
            return seed >> 8;
        };
        for (const QByteArray &good : {jpeg, bmp}) {
            for (int round = 0; round < 300; ++round) {
                QByteArray bad = good;
                const int flips = 1 + int(next() % 8);
                for (int i = 0; i < flips; ++i)
                    bad[qsizetype(next() % quint32(bad.size()))] = char(next() & 0xFF);
                if (round % 3 == 0)
                    bad.truncate(qsizetype(next() % quint32(bad.size())));
                const auto r = PictureLoader::decode(bad);
                QVERIFY(r.ok() || !r.error.isEmpty());
                QVERIFY(r.ok() == !r.image.isNull());
            }
        }
    }

    void goodBmpIsExact()
    {
        const QImage src = testdata::samplePicture(33, 17); // odd width: padded rows
        const QByteArray bmp = bmpBytes(src);
        QCOMPARE(PictureLoader::detect(bmp), PictureFormat::Bmp);
        const auto r = PictureLoader::decode(bmp);
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.image.convertToFormat(QImage::Format_RGB32), src);
    }

    void fieldBytesLoadBackIdentically()
    {
        QTemporaryDir dir;
        const QString jpgPath = dir.filePath(QStringLiteral("cover.jpg"));
        const QString bmpPath = dir.filePath(QStringLiteral("szene.bmp"));
        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(64, 48));
        const QByteArray bmp = bmpBytes(testdata::samplePicture(20, 10));
        QVERIFY(writeFile(jpgPath, jpeg));
        QVERIFY(writeFile(bmpPath, bmp));

        QString error;
        // The file's own bytes go into the field; nothing is re-encoded.
        QCOMPARE(PictureLoader::fieldBytesFromFile(jpgPath, &error), jpeg);
        QCOMPARE(PictureLoader::fieldBytesFromFile(bmpPath, &error), bmp);
        QCOMPARE(PictureLoader::decode(jpeg).image, PictureLoader::loadFile(jpgPath).image);

        // Another format Qt reads is kept as a bitmap of the same pixels.
        const QString pngPath = dir.filePath(QStringLiteral("bild.png"));
        const QImage png = testdata::samplePicture(16, 16);
        QVERIFY(png.save(pngPath, "PNG"));
        const QByteArray stored = PictureLoader::fieldBytesFromFile(pngPath, &error);
        QCOMPARE(PictureLoader::detect(stored), PictureFormat::Bmp);
        QCOMPARE(PictureLoader::decode(stored).image.convertToFormat(QImage::Format_RGB32), png);

        // A transparent clipboard picture is flattened onto white.
        QImage alpha(4, 4, QImage::Format_ARGB32);
        alpha.fill(Qt::transparent);
        const auto flat = PictureLoader::decode(PictureLoader::fieldBytesFromImage(alpha));
        QVERIFY(flat.ok());
        QCOMPARE(flat.image.pixel(1, 1), qRgb(255, 255, 255));
        QVERIFY(PictureLoader::fieldBytesFromImage(QImage()).isEmpty());
    }

    void oldEngineGraphicHeader()
    {
        const QImage src = testdata::samplePicture(8, 8);
        const QByteArray bmp = bmpBytes(src);
        QByteArray withHeader("\x01\x00\x00\x01", 4);
        const quint32 size = quint32(bmp.size());
        for (int i = 0; i < 4; ++i)
            withHeader.append(char((size >> (8 * i)) & 0xFF));
        withHeader += bmp;
        QCOMPARE(PictureLoader::detect(withHeader), PictureFormat::Bmp);
        QCOMPARE(PictureLoader::decode(withHeader).image.convertToFormat(QImage::Format_RGB32), src);
        QString error;
        QCOMPARE(PictureLoader::fieldBytesFromData(withHeader, &error), bmp);
    }

    void truncatedJpeg()
    {
        const QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(200, 150));
        for (const qsizetype cut : {jpeg.size() / 2, jpeg.size() - 10, qsizetype(200), qsizetype(4)}) {
            const auto r = PictureLoader::decode(jpeg.left(cut));
            QVERIFY2(!r.ok(), qPrintable(QString::number(cut)));
            QVERIFY(r.image.isNull());
            QVERIFY2(r.error.startsWith(QStringLiteral("Die JPEG-Grafik ist")), qPrintable(r.error));
        }
        QVERIFY(PictureLoader::decode(jpeg.left(jpeg.size() / 2)).error.contains(QStringLiteral("unvollständig")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kaputt.jpg"));
        QVERIFY(writeFile(path, jpeg.left(jpeg.size() / 3)));
        QString error;
        QVERIFY(PictureLoader::fieldBytesFromFile(path, &error).isEmpty());
        QVERIFY(error.contains(QStringLiteral("unvollständig")));
    }

    void damagedHeaders()
    {
        QByteArray jpeg = testdata::encodeJpeg(testdata::samplePicture(50, 50));
        // Wipe everything after the signature: no frame header follows.
        QByteArray wiped = jpeg;
        for (qsizetype i = 3; i < 200 && i < wiped.size(); ++i)
            wiped[i] = char(0x55);
        QVERIFY(!PictureLoader::decode(wiped).ok());

        QByteArray bmp = bmpBytes(testdata::samplePicture(10, 10));
        bmp.truncate(20);
        const auto r = PictureLoader::decode(bmp);
        QVERIFY(!r.ok());
        QCOMPARE(r.error, QStringLiteral("Die BMP-Grafik ist beschädigt und lässt sich nicht lesen."));
    }

    void foreignFiles()
    {
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("notiz.txt"));
        QVERIFY(writeFile(text, "Dies ist kein Bild.\r\n"));
        const auto r = PictureLoader::loadFile(text);
        QVERIFY(!r.ok());
        QVERIFY(r.error.contains(QStringLiteral("keine Grafik")));
        QCOMPARE(PictureLoader::detect("Dies ist kein Bild."), PictureFormat::Unknown);

        QString error;
        QVERIFY(PictureLoader::fieldBytesFromFile(text, &error).isEmpty());
        QVERIFY(!error.isEmpty());

        const auto missing = PictureLoader::loadFile(dir.filePath(QStringLiteral("fehlt.jpg")));
        QVERIFY(!missing.ok());
        QVERIFY(!missing.error.isEmpty());

        QCOMPARE(PictureLoader::detect(QByteArray()), PictureFormat::None);
        QVERIFY(!PictureLoader::decode(QByteArray()).ok());
    }
};

QTEST_GUILESS_MAIN(TstPictureLoader)
#include "tst_pictureloader.moc"
