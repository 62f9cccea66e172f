// The picture loader: every picture the program shows or stores goes through
// here, from a file the user picks or from the bytes of a `Grafik` field.
//
// Pictures are kept in `Grafik` as the bytes they arrived in (a BMP stays a
// BMP, a JPEG stays the JPEG file), so a stored picture loads back pixel for
// pixel and a cover photo does not swell to an uncompressed bitmap. The
// leading signature of the bytes tells the format apart ("BM", or FF D8 FF).
// Pictures from the clipboard and from formats other than BMP and JPEG are
// stored as BMP.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace dbui {

enum class PictureFormat {
    None,    // no bytes at all
    Bmp,
    Jpeg,
    Other,   // a format Qt reads (PNG, GIF, ICO); converted to BMP for storing
    Unknown, // not a picture we know
};

// A decoded picture, or the German message why there is none.
struct PictureResult
{
    QImage image;
    QString error;
    bool ok() const { return error.isEmpty() && !image.isNull(); }
};

// Pictures larger than this many pixels are refused before any memory is
// taken for them (a damaged header can claim 65535 x 65535). A cover scanned
// at 600 dpi or a photo of a 50-megapixel camera stays below it.
constexpr qint64 kMaxPicturePixels = qint64(64) * 1000 * 1000;

class PictureLoader
{
public:
    // What the bytes hold, by their signature. A graphic header of the old
    // database engine in front of a bitmap is looked through.
    static PictureFormat detect(const QByteArray &bytes);

    // Decodes file or field bytes of any known format. With a valid fit the
    // picture is wanted no larger than it is shown there (scaled into fit,
    // keeping its proportions; never enlarged): a JPEG is then decoded by
    // libjpeg at the smallest of its eighth scales that still covers that
    // size, and the result is scaled to it.
    static PictureResult decode(const QByteArray &bytes, QSize fit = QSize());

    // JPEG through libjpeg directly; a damaged or truncated stream gives a
    // German message, never a crash or an exit.
    static PictureResult decodeJpeg(const QByteArray &bytes, QSize fit = QSize());

    // The size a picture of the given size is shown at within fit.
    static QSize shownSize(QSize picture, QSize fit);

    // Reads and decodes a file.
    static PictureResult loadFile(const QString &path);

    // The bytes to put into a `Grafik` field for a file the user picked:
    // the file's own bytes for BMP and JPEG after checking that they decode,
    // a BMP for other readable formats. Empty with *error set on failure.
    static QByteArray fieldBytesFromFile(const QString &path, QString *error);
    static QByteArray fieldBytesFromData(const QByteArray &bytes, QString *error);

    // A picture that has no file of its own (clipboard, drawing) as BMP bytes.
    static QByteArray fieldBytesFromImage(const QImage &image);

    // The open dialog's filter line.
    static QString fileDialogFilter();

private:
    static QByteArray stripGraphicHeader(const QByteArray &bytes);
};

} // namespace dbui
