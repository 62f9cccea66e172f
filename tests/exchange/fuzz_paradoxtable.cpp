// libFuzzer target for the old-table reader: any bytes as a table (and its
// memo file) are read or refused, never read past a buffer, never a crash.
#include "paradoxfuzz.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    ReadParadoxFuzzInput(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), dir.path());
    return 0;
}
