#pragma once
// Writing the files that start-up leaves on disk. Both go through a fresh file in the same folder that is
// then renamed over the target: a symbolic link planted at the target is replaced, never followed, and
// nobody ever sees a half-written file.
#include <QByteArray>
#include <string>

namespace lexomir::ui {

// Whether anything, a dangling link included, has this name.
bool path_exists(const std::string& path);
// Creates or replaces the file at path with exactly these bytes; false on any failure, leaving no trace.
bool replace_file(const std::string& path, const QByteArray& bytes);

}  // namespace lexomir::ui
