#pragma once
// The widgets hold Unicode; the program's texts are GBK. These are the only crossings between the two.
#include <QString>

#include "text/text.h"

namespace lexomir::ui {

QString from_gbk(const Text& text);
Text to_gbk(const QString& text);
// Bytes the text takes in GBK, as the question box's input limit counts them.
int gbk_length(const QString& text);

}  // namespace lexomir::ui
