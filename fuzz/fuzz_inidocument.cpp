// Configuration, goods base and settings files are outside input. Any bytes must parse, and
// what the program writes back must read as the same document: a file saved unchanged does not
// drift from one save to the next.

#include "inidocument.h"

#include <QByteArray>

#include <cstdlib>

namespace
{

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// The same sections in the same order, each with the same keys and values.
void CheckSameDocument(const TIniDocument &a, const TIniDocument &b)
{
    const QStringList sections = a.Sections();
    Check(sections == b.Sections());
    for (const QString &section : sections) {
        Check(b.HasSection(section));
        const QStringList keys = a.Keys(section);
        Check(keys == b.Keys(section));
        for (const QString &key : keys) {
            Check(b.HasKey(section, key));
            Check(a.Value(section, key) == b.Value(section, key));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const TIniDocument first = TIniDocument::FromBytes(input);
    const QByteArray written = first.ToBytes();
    const TIniDocument second = TIniDocument::FromBytes(written);
    CheckSameDocument(first, second);
    // Every line the reader keeps is already in its written form, so a second save gives the
    // very same bytes.
    Check(second.ToBytes() == written);
    return 0;
}
