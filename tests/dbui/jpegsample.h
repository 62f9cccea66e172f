// Sample pictures for the loader's tests and benchmark, written by libjpeg's
// own compressor so that the tests do not depend on Qt's JPEG plugin.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <functional>

extern "C" {
#include <jpeglib.h>
}

namespace testdata {

// A picture with gradients and edges, so the codec has real work to do.
inline QImage samplePicture(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255) / width, (y * 255) / height, ((x / 16 + y / 16) % 2) ? 200 : 40);
    }
    return img;
}

// Compresses rows of the given layout with libjpeg's own compressor.
inline QByteArray compress(int width, int height, int components, J_COLOR_SPACE space, int quality,
                           bool grayscale, const std::function<const unsigned char *(int)> &row)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (grayscale)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = const_cast<JSAMPROW>(row(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

inline QByteArray encodeJpeg(const QImage &source, int quality = 90, bool grayscale = false)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB888);
    return compress(img.width(), img.height(), 3, JCS_RGB, quality, grayscale,
                    [&img](int y) { return img.constScanLine(y); });
}

// A CMYK JPEG of one colour; libjpeg marks it with an Adobe segment, so the
// values are read as stored inverted (255 = no ink).
inline QByteArray encodeCmykJpeg(int width, int height, const unsigned char cmyk[4])
{
    QByteArray line(width * 4, 0);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
            line[x * 4 + c] = char(cmyk[c]);
    return compress(width, height, 4, JCS_CMYK, 95, false, [&line](int) {
        return reinterpret_cast<const unsigned char *>(line.constData());
    });
}

} // namespace testdata
