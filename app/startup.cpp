#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

#include "app/captions.h"
#include "app/carried_files.h"
#include "app/file_writing.h"
#include "app/main_window.h"
#include "text/process_events.h"

namespace lexomir::ui {
namespace {

std::string local_path(const QString& path) {
  return QDir::toNativeSeparators(path).toLocal8Bit().toStdString();
}

void process_this_threads_events() { QCoreApplication::processEvents(); }

}  // namespace

StartupConfig config_from_system() {
  StartupConfig config;
  config.folders.program_dir = local_path(QCoreApplication::applicationDirPath());

  if (qEnvironmentVariableIsSet("LEXOMIR_ENGINE_DIR")) {
    config.folders.engine_dir = qgetenv("LEXOMIR_ENGINE_DIR").toStdString();
  } else {
    const QString data_dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!data_dir.isEmpty()) QDir().mkpath(data_dir);
    config.folders.engine_dir = local_path(data_dir);
  }

  if (qEnvironmentVariableIsSet("LEXOMIR_TEMP_DIR")) {
    config.folders.temp_dir = qgetenv("LEXOMIR_TEMP_DIR").toStdString();
  } else {
    QString temp_dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (temp_dir.isEmpty()) temp_dir = QDir::tempPath();
    config.folders.temp_dir = local_path(temp_dir);
  }

  const QByteArray host = qgetenv("LEXOMIR_SEARCH_HOST");
  if (!host.isEmpty()) config.service.host = host.toStdString();
  return config;
}

std::string engine_file_path(const std::string& engine_dir) {
  if (engine_dir.empty() || engine_dir.back() == '/') return engine_dir + kEngineFileName;
  return engine_dir + "/" + kEngineFileName;
}

std::string skin_file_path(const std::string& temp_dir) {
  if (temp_dir.empty() || temp_dir.back() == '/') return temp_dir + kSkinFileName;
  return temp_dir + "/" + kSkinFileName;
}

std::vector<std::string> engine_candidates(const StartupFolders& folders) {
  // dlopen of a bare name never looks in the program's folder, so that one needs its full path.
  return {engine_file_path(folders.program_dir), kEngineFileName, engine_file_path(folders.engine_dir)};
}

void install_engine(const std::string& engine_dir) {
  const std::string path = engine_file_path(engine_dir);
  if (path_exists(path)) return;
  const QByteArray bytes = engine_bytes();
  if (!bytes.isEmpty()) replace_file(path, bytes);
}

EngineStatus install_skin(int number, const std::string& temp_dir, EngineLoader& engine) {
  const std::string path = skin_file_path(temp_dir);
  const QByteArray skin = skin_bytes(number);
  if (skin.isEmpty()) return EngineStatus::ok;
  replace_file(path, skin);
  return engine.attach(path, "");
}

EngineStatus on_window_created(const StartupFolders& folders, EngineLoader& engine) {
  install_engine(folders.engine_dir);
  return install_skin(kStartupSkin, folders.temp_dir, engine);
}

QString fatal_message(EngineStatus status) {
  if (status == EngineStatus::no_entry) {
    return QStringLiteral("The skin engine library \"jedata.dll\" has no entry \"SkinH_AttachEx\".");
  }
  return QStringLiteral(
      "The skin engine library \"jedata.dll\" could not be loaded, so its entry "
      "\"SkinH_AttachEx\" cannot be called.");
}

int run_program(const StartupConfig& config) {
  set_process_events_hook(&process_this_threads_events);
  EngineLoader engine(engine_candidates(config.folders));
  MainWindow window(config.methods.keyword || config.methods.highlight ? config.methods
                                                                       : real_methods(config.service));
  const EngineStatus status = on_window_created(config.folders, engine);
  if (status != EngineStatus::ok) {
    const QString message = fatal_message(status);
    if (config.show_fatal) {
      config.show_fatal(message);
    } else {
      QMessageBox::critical(nullptr, QString::fromUtf8(kWindowCaption), message);
    }
    return -1;
  }
  window.show();
  QApplication::exec();
  return 0;
}

}  // namespace lexomir::ui
