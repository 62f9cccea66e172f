#include "print/labelpictures.h"

#include "platform/rounding.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

QString firstMatch(const QDir &dir, const QString &pattern)
{
    const QStringList names =
        dir.entryList({pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    return names.isEmpty() ? QString() : dir.absoluteFilePath(names.first());
}

int grown(int v, double factor)
{
    const int n = int(platform::roundHalfEven(v * factor));
    return n > v ? n : v + 1;
}

int shrunk(int v, double factor)
{
    const int n = int(platform::roundHalfEven(v * factor));
    return std::max(1, n < v ? n : v - 1);
}

} // namespace

TFilmPicture FindFilmPicture(const TLabelFilm &film, TLabelArtProvider &art)
{
    TFilmPicture p;
    p.HasBlob = !film.Grafik.isNull();
    for (int i = 1; i <= 15 && p.File.isNull(); ++i) {
        const QString value = film.Free[i - 1];
        if (value.isEmpty() || !art.freeFieldIsFileLink(i))
            continue;
        const QString path = art.expandLinkPath(value);
        const QFileInfo fi(path);
        QString file;
        if (fi.isFile()) {
            file = path;
        } else if (fi.isDir()) {
            const QDir dir(path);
            for (const char *pattern : {"cover*.*", "*.jp*", "*.bmp"}) {
                file = firstMatch(dir, QLatin1String(pattern));
                if (!file.isEmpty())
                    break;
            }
        }
        if (file.isEmpty())
            continue;
        p.File = art.loadPicture(file);
        p.Path = file;
        if (fi.isFile())
            break; // an existing file ends the search, loaded or not
    }
    return p;
}

QImage ChooseFilmPicture(const TLabelFilm &film, const TFilmPicture &found, bool preferBlob)
{
    if (found.File.isNull() || (preferBlob && found.HasBlob))
        return film.Grafik;
    return found.File;
}

QSize FitFilmPicture(const QSize &picture, const QSize &cell, int maxZoom)
{
    int limW = cell.width(), limH = cell.height();
    if (maxZoom > 0) {
        limW = int(std::min<qint64>(limW, qint64(picture.width()) * maxZoom / 100));
        limH = int(std::min<qint64>(limH, qint64(picture.height()) * maxZoom / 100));
    }
    limW = std::max(1, limW);
    limH = std::max(1, limH);
    int w = picture.width(), h = picture.height();
    if (w > 1 && h > 1) {
        constexpr int cap = 100000;
        for (int i = 0; i < cap && w < limW && h < limH; ++i) {
            const int nw = grown(w, 1.1), nh = grown(h, 1.1);
            if (nw > limW || nh > limH)
                break; // one more step would pass a limit
            w = nw;
            h = nh;
        }
        for (int i = 0; i < cap && (w > limW || h > limH) && (w > 1 || h > 1); ++i) {
            w = shrunk(w, 0.98);
            h = shrunk(h, 0.98);
        }
    }
    return QSize(std::min(w, limW), std::min(h, limH));
}

std::vector<QRect> PictureCells(const QRect &area, int count, const TLabelScale &scale)
{
    std::vector<QRect> cells;
    if (count < 1)
        return cells;
    const bool across = area.width() >= area.height();
    const int gap = across ? scale.px(10) : scale.py(10);
    const int length = across ? area.width() : area.height();
    const int cell = std::max(1, (length - (count - 1) * gap) / count);
    for (int i = 0; i < count; ++i) {
        if (across)
            cells.emplace_back(area.left() + i * (cell + gap), area.top(), cell, area.height());
        else
            cells.emplace_back(area.left(), area.top() + i * (cell + gap), area.width(), cell);
    }
    return cells;
}

QImage RotateBitmap90(const QImage &source)
{
    const QImage src = source.convertToFormat(QImage::Format_RGB888);
    QImage dst(src.height(), src.width(), QImage::Format_RGB888);
    const int h = src.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < src.width(); ++x)
            dst.setPixel(h - 1 - y, x, src.pixel(x, y));
    return dst;
}

void DrawFilmPicture(TLabelLayout &out, const QImage &picture, const QRect &cell, int turns, int maxZoom,
                     const TLabelScale &scale)
{
    if (picture.isNull() || cell.isEmpty())
        return;
    QImage img = picture;
    for (int i = 0; i < (turns & 3); ++i)
        img = RotateBitmap90(img);
    // Pixels of unequal axes: the width follows the horizontal scale.
    const int w = std::max(1, int(platform::roundHalfEven(img.width() * scale.xPerMm() / scale.yPerMm())));
    const QSize s = FitFilmPicture(QSize(w, img.height()), cell.size(), maxZoom);
    const QRect target(cell.left() + (cell.width() - s.width()) / 2, cell.top() + (cell.height() - s.height()) / 2,
                       s.width(), s.height());
    out.image(target, img);
}
