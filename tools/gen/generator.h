// Registry of the build-time generators. A generator writes its files below
// the program folder it is given and returns false (after printing why) when
// it cannot.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

namespace gen {

using GeneratorFn = std::function<bool(const QString &progDir)>;

struct Generator {
    const char *name;
    GeneratorFn run;
};

std::vector<Generator> &generators();

struct Registrar {
    Registrar(const char *name, GeneratorFn fn) { generators().push_back({name, std::move(fn)}); }
};

// Makes sure the folder of a file exists; prints and returns false otherwise.
bool ensureParent(const QString &filePath);

// Writes a picture (creating its folder); prints and returns false on failure.
bool saveImage(const QImage &img, const QString &path, const char *format = "PNG");

} // namespace gen

#define TARVO_GENERATOR(ident, label)                                              \
    static bool ident(const QString &progDir);                                     \
    static gen::Registrar ident##_registrar(label, ident);                         \
    static bool ident(const QString &progDir)
