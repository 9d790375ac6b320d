#include "common/QtCompat.h"
#include "update/ElfPackageNote.h"
#include "update/PeVersionReader.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Both readers see every input: each must refuse the other's format as calmly as random bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString pe = quorvel::peFileVersion(bytes);
    const QString elf = quorvel::elfPackageVersion(bytes);
    // A version is short text; a reader that returns more has read something it should not have.
    if (pe.size() > 0xffff || elf.size() > 1024 * 1024)
        __builtin_trap();
    return 0;
}
