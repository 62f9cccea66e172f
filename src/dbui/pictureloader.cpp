#include "dbui/pictureloader.h"

#include "platform/textfile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace dbui {

namespace {

const char kNotAPicture[] =
    "Die Datei enthält keine Grafik in einem bekannten Format (BMP oder JPEG).";

bool startsWith(const QByteArray &bytes, const char *sig, int n)
{
    return bytes.size() >= n && std::memcmp(bytes.constData(), sig, size_t(n)) == 0;
}

// libjpeg reports fatal errors through error_exit, which must not return;
// we jump back to the decode call instead of letting it call exit().
struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
};

void jpegErrorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<JpegErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    // Level -1 is a warning about damaged data. Running out of data is the
    // one we refuse: the rest of such a picture would be made-up grey.
    // Other warnings (stray bytes between markers) are common in files that
    // every viewer shows, so they pass.
    if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        auto *err = reinterpret_cast<JpegErrorManager *>(cinfo->err);
        err->truncated = true;
        (*cinfo->err->format_message)(cinfo, err->message);
        std::longjmp(err->jump, 1);
    }
}

void jpegOutputMessage(j_common_ptr)
{
    // Never print to stderr; messages reach the user through our result.
}

struct JpegJob
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    QImage image;
    QString error;
    QByteArray row; // one scanline for the conversions; lives outside the jump
};

// Runs in its own frame, and nothing with a destructor is created in it
// after setjmp: a jump back must skip no destructor. Everything the error
// path needs is in *job.
// libjpeg gets no more working memory than this (a progressive picture
// keeps all its coefficients); above it decoding stops with an error.
constexpr long kMaxJpegWorkMemory = 512L * 1024 * 1024;

QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("Die Grafik ist mit %1 × %2 Bildpunkten zu groß oder hat ungültige Maße; "
                          "höchstens %3 Millionen Bildpunkte sind möglich.")
        .arg(width).arg(height).arg(kMaxPicturePixels / 1000000);
}

bool runJpegDecode(JpegJob *job, const QByteArray &bytes, QSize fit)
{
    jpeg_decompress_struct &cinfo = job->cinfo;
    cinfo.err = jpeg_std_error(&job->err.pub);
    job->err.pub.error_exit = jpegErrorExit;
    job->err.pub.emit_message = jpegEmitMessage;
    job->err.pub.output_message = jpegOutputMessage;
    job->err.truncated = false;
    job->err.message[0] = '\0';

    if (setjmp(job->err.jump)) {
        const qint64 claimedWidth = cinfo.image_width, claimedHeight = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        job->image = QImage();
        const QString detail = QString::fromLatin1(job->err.message);
        const int code = job->err.pub.msg_code;
        if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE)
            job->error = tooLarge(claimedWidth, claimedHeight);
        else if (job->err.truncated)
            job->error = QStringLiteral("Die JPEG-Grafik ist unvollständig, das Ende der Datei fehlt.");
        else
            job->error = QStringLiteral("Die JPEG-Grafik ist beschädigt und lässt sich nicht lesen (%1).")
                             .arg(detail);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegWorkMemory;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        cinfo.out_color_space = JCS_CMYK;
    } else {
#ifdef JCS_EXTENSIONS
        // Straight into QImage's 0xffRRGGBB layout, no second pass.
        cinfo.out_color_space = (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) ? JCS_EXT_BGRX : JCS_EXT_XRGB;
#else
        cinfo.out_color_space = JCS_RGB;
#endif
    }

    const qint64 pixels = qint64(cinfo.image_width) * qint64(cinfo.image_height);
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || pixels > kMaxPicturePixels) {
        jpeg_destroy_decompress(&cinfo);
        job->error = tooLarge(cinfo.image_width, cinfo.image_height);
        return false;
    }

    // Scaled decoding: the smallest M/8 that still covers the shown size.
    if (fit.isValid()) {
        const QSize shown = PictureLoader::shownSize(QSize(int(cinfo.image_width), int(cinfo.image_height)), fit);
        const double f = std::max(double(shown.width()) / cinfo.image_width,
                                  double(shown.height()) / cinfo.image_height);
        cinfo.scale_num = std::clamp(unsigned(std::ceil(f * 8 - 1e-9)), 1u, 8u);
        cinfo.scale_denom = 8;
    }

    jpeg_start_decompress(&cinfo);

    const int width = int(cinfo.output_width);
    const int height = int(cinfo.output_height);
    job->image = QImage(width, height, QImage::Format_RGB32);
    if (job->image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        job->error = QStringLiteral("Für die JPEG-Grafik (%1 × %2 Bildpunkte) reicht der Speicher nicht.")
                         .arg(width).arg(height);
        return false;
    }

    const bool direct = !cmyk && cinfo.output_components == 4;
    if (!direct)
        job->row.resize(qsizetype(width) * cinfo.output_components);

    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        auto *line = reinterpret_cast<QRgb *>(job->image.scanLine(y));
        if (direct) {
            JSAMPROW rowPtr = reinterpret_cast<JSAMPROW>(line);
            jpeg_read_scanlines(&cinfo, &rowPtr, 1);
            continue;
        }
        JSAMPROW rowPtr = reinterpret_cast<JSAMPROW>(job->row.data());
        jpeg_read_scanlines(&cinfo, &rowPtr, 1);
        const auto *src = reinterpret_cast<const unsigned char *>(job->row.constData());
        if (cmyk) {
            // Photoshop writes CMYK JPEGs inverted (marked by its Adobe
            // segment); plain CMYK is the other way round.
            const bool inverted = cinfo.saw_Adobe_marker;
            for (int x = 0; x < width; ++x, src += 4) {
                int c = src[0], m = src[1], ye = src[2], k = src[3];
                if (!inverted) {
                    c = 255 - c;
                    m = 255 - m;
                    ye = 255 - ye;
                    k = 255 - k;
                }
                line[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
            }
        } else if (cinfo.output_components == 3) {
            for (int x = 0; x < width; ++x, src += 3)
                line[x] = qRgb(src[0], src[1], src[2]);
        } else {
            for (int x = 0; x < width; ++x, ++src)
                line[x] = qRgb(src[0], src[0], src[0]);
        }
    }

    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// The decoded picture brought down to the size it is shown at.
void fitInto(QImage &image, QSize fit)
{
    if (!fit.isValid() || image.isNull())
        return;
    const QSize shown = PictureLoader::shownSize(image.size(), fit);
    if (shown != image.size())
        image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

PictureResult decodeWithQt(const QByteArray &bytes, const char *format, QSize fit)
{
    PictureResult result;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels) {
        result.error = tooLarge(size.width(), size.height());
        return result;
    }
    if (!reader.read(&result.image) || result.image.isNull()) {
        result.image = QImage();
        if (format && std::strcmp(format, "BMP") == 0)
            result.error = QStringLiteral("Die BMP-Grafik ist beschädigt und lässt sich nicht lesen.");
        else
            result.error = QString::fromUtf8(kNotAPicture);
    }
    fitInto(result.image, fit);
    return result;
}

} // namespace

QSize PictureLoader::shownSize(QSize picture, QSize fit)
{
    if (!fit.isValid() || picture.isEmpty() || (picture.width() <= fit.width() && picture.height() <= fit.height()))
        return picture;
    return picture.scaled(fit.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QByteArray PictureLoader::stripGraphicHeader(const QByteArray &bytes)
{
    // The old engine put an eight-byte header (count 1, type 0x0100, size)
    // in front of bitmaps in graphic fields; tables imported from it keep it.
    if (bytes.size() >= 10 && startsWith(bytes, "\x01\x00\x00\x01", 4) && bytes[8] == 'B'
        && bytes[9] == 'M')
        return bytes.mid(8);
    return bytes;
}

PictureFormat PictureLoader::detect(const QByteArray &raw)
{
    if (raw.isEmpty())
        return PictureFormat::None;
    const QByteArray bytes = stripGraphicHeader(raw);
    if (startsWith(bytes, "BM", 2))
        return PictureFormat::Bmp;
    if (startsWith(bytes, "\xFF\xD8\xFF", 3))
        return PictureFormat::Jpeg;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray fmt = QImageReader::imageFormat(&buffer).toLower();
    // What Qt takes for a JPEG or bitmap without the proper signature is a
    // damaged one: our own readers say so.
    if (fmt == "jpeg" || fmt == "jpg")
        return PictureFormat::Jpeg;
    if (fmt == "bmp")
        return PictureFormat::Bmp;
    if (!fmt.isEmpty())
        return PictureFormat::Other;
    return PictureFormat::Unknown;
}

PictureResult PictureLoader::decodeJpeg(const QByteArray &bytes, QSize fit)
{
    JpegJob job;
    std::memset(&job.cinfo, 0, sizeof job.cinfo);
    if (!runJpegDecode(&job, bytes, fit)) {
        PictureResult failed;
        failed.error = job.error;
        return failed;
    }
    PictureResult result;
    result.image = std::move(job.image);
    fitInto(result.image, fit);
    return result;
}

PictureResult PictureLoader::decode(const QByteArray &raw, QSize fit)
{
    PictureResult result;
    switch (detect(raw)) {
    case PictureFormat::None:
        result.error = QStringLiteral("Es ist keine Grafik vorhanden.");
        return result;
    case PictureFormat::Jpeg:
        return decodeJpeg(raw, fit);
    case PictureFormat::Bmp:
        return decodeWithQt(stripGraphicHeader(raw), "BMP", fit);
    case PictureFormat::Other:
        return decodeWithQt(raw, nullptr, fit);
    case PictureFormat::Unknown:
        break;
    }
    result.error = QString::fromUtf8(kNotAPicture);
    return result;
}

PictureResult PictureLoader::loadFile(const QString &path)
{
    PictureResult result;
    QString error;
    const auto bytes = platform::readFileBytes(path, &error);
    if (!bytes) {
        result.error = error;
        return result;
    }
    result = decode(*bytes);
    return result;
}

QByteArray PictureLoader::fieldBytesFromData(const QByteArray &bytes, QString *error)
{
    // A BMP or JPEG is kept as it came: decoding it checks it, and a JPEG
    // needs only its smallest scale for that.
    const PictureFormat format = detect(bytes);
    const PictureResult decoded = decode(bytes, format == PictureFormat::Jpeg ? QSize(1, 1) : QSize());
    if (!decoded.ok()) {
        if (error)
            *error = decoded.error;
        return {};
    }
    switch (format) {
    case PictureFormat::Bmp:
        return stripGraphicHeader(bytes);
    case PictureFormat::Jpeg:
        return bytes;
    default:
        return fieldBytesFromImage(decoded.image);
    }
}

QByteArray PictureLoader::fieldBytesFromFile(const QString &path, QString *error)
{
    const auto bytes = platform::readFileBytes(path, error);
    if (!bytes)
        return {};
    return fieldBytesFromData(*bytes, error);
}

QByteArray PictureLoader::fieldBytesFromImage(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    // A bitmap has no alpha; flatten onto white so transparent areas do
    // not turn black.
    QImage flat = image;
    if (image.hasAlphaChannel()) {
        flat = QImage(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
    }
    flat.save(&buffer, "BMP");
    return out;
}

QString PictureLoader::fileDialogFilter()
{
    return QStringLiteral("Grafiken (*.bmp *.jpg *.jpeg *.jpe *.png *.gif);;"
                          "Bitmaps (*.bmp);;JPEG-Grafiken (*.jpg *.jpeg *.jpe);;Alle Dateien (*)");
}

} // namespace dbui
