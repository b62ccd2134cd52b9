// The program's entry: everything it does lives in lexomir_app, so the tests can drive it.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "app/method_runner.h"
#include "app/startup.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Lexomir"));
  const lexomir::ui::StartupConfig config = lexomir::ui::config_from_system();
  QDir::setCurrent(QString::fromLocal8Bit(config.folders.program_dir.c_str()));
  const int code = lexomir::ui::run_program(config);
  if (lexomir::ui::runs_under_way() > 0) {
    // A run still going would race the teardown of the libraries it is using; end as the closed window
    // asks, without tearing down.
    std::fflush(nullptr);
    std::_Exit(code);
  }
  return code;
}
