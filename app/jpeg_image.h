#pragma once
// Decodes a JPEG with libjpeg into an image the widgets can paint. A broken file gives a null image,
// never an exit: libjpeg's own error handler would end the process.
#include <QByteArray>
#include <QImage>

namespace lexomir::ui {

QImage decode_jpeg(const QByteArray& data);

}  // namespace lexomir::ui
