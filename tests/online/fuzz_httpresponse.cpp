// libFuzzer target for the response reader: any bytes give a body or none,
// never more body than input, and never a crash.
#include "online/httpresponse.h"
#include "platform/cp1252.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), qsizetype(size));
    const THttpParse p = ParseHttpResponse(raw);
    if (p.body.size() > raw.size())
        abort();
    if (const auto body = HttpResponseBody(platform::fromCp1252(raw))) {
        qsizetype chars = 0;
        for (const QString &l : *body)
            chars += l.size();
        if (chars > raw.size())
            abort();
    }
    return 0;
}
