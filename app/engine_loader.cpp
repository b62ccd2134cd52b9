#include "app/engine_loader.h"

#include <dlfcn.h>

namespace lexomir::ui {

EngineLoader::EngineLoader(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

// The engine stays loaded for the rest of the process: what it attached to the application (a style sheet
// today, perhaps code tomorrow) must outlive the loader.
EngineLoader::~EngineLoader() = default;

EngineStatus EngineLoader::load() {
  if (entry_) return EngineStatus::ok;
  // The first library found is the one used, with or without the entry, as a program that loads by
  // name gets.
  if (!library_) {
    for (const std::string& candidate : candidates_) {
      library_ = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
      if (library_) {
        loaded_from_ = candidate;
        break;
      }
    }
  }
  if (!library_) return EngineStatus::not_found;
  entry_ = reinterpret_cast<Entry>(dlsym(library_, "SkinH_AttachEx"));
  return entry_ ? EngineStatus::ok : EngineStatus::no_entry;
}

EngineStatus EngineLoader::attach(const std::string& skin_path, const std::string& password) {
  const EngineStatus status = load();
  if (status != EngineStatus::ok) return status;
  ++calls_;
  entry_(skin_path.c_str(), password.c_str());
  return EngineStatus::ok;
}

}  // namespace lexomir::ui
