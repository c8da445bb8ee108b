#include "jpegimage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace
{
// libjpeg's own error handler ends the process; this one jumps back to the decoder instead.
struct TJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool damaged; // a warning about corrupt or missing data
};

void OnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegErrors *>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning: the data are damaged but decoding could go on.
    if (level < 0)
        reinterpret_cast<TJpegErrors *>(info->err)->damaged = true;
}

// Pictures larger than this are refused rather than allocated on a damaged header's word.
constexpr qint64 maxPixels = 64LL * 1024 * 1024;

// Holds no object with a destructor between setjmp and a possible longjmp.
bool DecodeInto(const QByteArray &bytes, jpeg_decompress_struct &info, TJpegErrors &errors,
                QImage &image)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    info.out_color_space = JCS_RGB;
    if (qint64(info.image_width) * info.image_height > maxPixels)
        return false;
    jpeg_start_decompress(&info);
    if (info.output_components != 3)
        return false;
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return !errors.damaged;
}
} // namespace

QImage DecodeJpeg(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return QImage();
    jpeg_decompress_struct info{};
    TJpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = OnError;
    errors.manager.emit_message = OnMessage;
    errors.damaged = false;
    QImage image;
    const bool ok = DecodeInto(bytes, info, errors, image);
    jpeg_destroy_decompress(&info);
    return ok ? image : QImage();
}
