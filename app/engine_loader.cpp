#include "app/engine_loader.h"

#include <dlfcn.h>

namespace lexomir::ui {

EngineLoader::EngineLoader(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

EngineLoader::~EngineLoader() {
  if (library_) dlclose(library_);
}

EngineStatus EngineLoader::load() {
  if (entry_) return EngineStatus::ok;
  // The first library found is the one used, with or without the entry, as a program that loads by
  // name gets.
  if (!library_) {
    for (const std::string& candidate : candidates_) {
      library_ = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
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
