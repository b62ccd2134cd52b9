#pragma once
// The program from its start to its exit code: the window, the skin engine and skin installed when the
// window has been created, the event loop. Folders and the fatal-error display are passed in, so tests can
// run it against temporary folders in-process.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/engine_loader.h"
#include "app/method_runner.h"
#include "segmentation/search_service.h"

namespace lexomir::ui {

inline constexpr int kStartupSkin = 23;

struct StartupFolders {
  std::string program_dir;  // the program's own folder, tried first for the engine
  std::string engine_dir;   // where the engine file is installed
  std::string temp_dir;     // as the system reports it: with or without a trailing separator, or empty
};

struct StartupConfig {
  StartupFolders folders;
  SearchService service;
  // Empty means the real methods against `service`.
  MethodSet methods;
  // Shows a fatal error and returns when the user has closed it. Empty means a message box.
  std::function<void(const QString&)> show_fatal;
};

// Linux places for the folders, and the test hooks LEXOMIR_ENGINE_DIR, LEXOMIR_TEMP_DIR and
// LEXOMIR_SEARCH_HOST, which the end-to-end check uses to keep the program off the user's folders and off
// the internet.
StartupConfig config_from_system();

std::string engine_file_path(const std::string& engine_dir);
std::string skin_file_path(const std::string& temp_dir);
std::vector<std::string> engine_candidates(const StartupFolders& folders);

// Writes the engine when nothing of that name is there yet; a failure is ignored.
void install_engine(const std::string& engine_dir);
// Writes skin `number` and applies it. Only a missing engine or entry is reported, as it is fatal.
EngineStatus install_skin(int number, const std::string& temp_dir, EngineLoader& engine);
EngineStatus on_window_created(const StartupFolders& folders, EngineLoader& engine);
QString fatal_message(EngineStatus status);

// Needs a QApplication. 0 after the window was closed, -1 after a fatal error.
int run_program(const StartupConfig& config);

}  // namespace lexomir::ui
