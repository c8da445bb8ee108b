// The version picture is a file: a damaged or foreign one must give a null picture, never a
// crash or the end of the program (libjpeg's own error handler would exit).

#include "jpegimage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const QImage image = DecodeJpeg(input);
    if (!image.isNull() && (image.width() <= 0 || image.height() <= 0))
        std::abort();
    return 0;
}
