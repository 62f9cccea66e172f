// tarvo-gen: writes the program folder's own files at build time.
#include "generator.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace gen {

std::vector<Generator> &generators()
{
    static std::vector<Generator> list;
    return list;
}

bool ensureParent(const QString &filePath)
{
    const QString dir = QFileInfo(filePath).absolutePath();
    if (QDir().mkpath(dir))
        return true;
    std::fprintf(stderr, "tarvo-gen: cannot create %s\n", qPrintable(dir));
    return false;
}

bool saveImage(const QImage &img, const QString &path, const char *format)
{
    if (!ensureParent(path))
        return false;
    if (img.save(path, format))
        return true;
    std::fprintf(stderr, "tarvo-gen: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace gen

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarvo-gen <program folder>\n");
        return 2;
    }
    const QString progDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(progDir)) {
        std::fprintf(stderr, "tarvo-gen: cannot create %s\n", argv[1]);
        return 1;
    }
    int failed = 0;
    for (const auto &g : gen::generators()) {
        if (!g.run(progDir)) {
            std::fprintf(stderr, "tarvo-gen: generator '%s' failed\n", g.name);
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
