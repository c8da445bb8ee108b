#pragma once

#include <QByteArray>
#include <QImage>

// Decodes a JPEG file's bytes; a null image when the bytes are not a whole, sound JPEG picture.
QImage DecodeJpeg(const QByteArray &bytes);
