// A drive reader for the tests: gives the facts it is told and records the
// drives it was asked for.
#pragma once

#include "platform/volumeserial.h"

#include <QStringList>

struct FakeVolumeReader : platform::VolumeSerialReader
{
    std::optional<platform::VolumeFacts> facts;
    QStringList asked;
    std::optional<platform::VolumeFacts> read(const QString &drive) override
    {
        asked << drive;
        return facts;
    }
};
