#include "platform/skin_engine/skin_engine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>

namespace {

constexpr char kMagic[] = {'.', 'S', 'H', 'E', '\0', '\3'};
// Far above any skin we carry; what is larger is not a skin, and reading it would only cost memory.
constexpr off_t kLargestSkin = 4 * 1024 * 1024;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// The skin file lives in a folder that may be shared with other users: a link, a pipe or a device planted
// at its path must neither redirect the read nor block or exhaust the program.
QByteArray read_skin_file(const char* path) {
  const FileDescriptor file(::open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) return {};
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kLargestSkin)
    return {};
  QByteArray bytes(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(file.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (n <= 0) break;
    done += n;
  }
  bytes.truncate(done);
  return bytes;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int SkinH_AttachEx(const char* skin_path, const char*) {
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!skin_path || !application) return -1;
  const QByteArray bytes = read_skin_file(skin_path);
  if (bytes.size() < static_cast<qsizetype>(sizeof kMagic) ||
      !bytes.startsWith(QByteArrayView(kMagic, sizeof kMagic))) {
    return -1;
  }
  application->setStyleSheet(QString::fromUtf8(bytes.mid(sizeof kMagic)));
  return 0;
}
