#pragma once
// Loads the skin engine library on the first call and keeps it and its entry for the rest of the loader's
// life. The places are tried in order: absolute paths as given, bare names through the system's search.
#include <string>
#include <vector>

namespace lexomir::ui {

enum class EngineStatus { ok, not_found, no_entry };

class EngineLoader {
 public:
  explicit EngineLoader(std::vector<std::string> candidates);
  ~EngineLoader();
  EngineLoader(const EngineLoader&) = delete;
  EngineLoader& operator=(const EngineLoader&) = delete;

  // Calls SkinH_AttachEx with the two texts; its result is not looked at.
  EngineStatus attach(const std::string& skin_path, const std::string& password);
  int calls() const { return calls_; }
  const std::string& loaded_from() const { return loaded_from_; }

 private:
  using Entry = int (*)(const char*, const char*);

  EngineStatus load();

  std::vector<std::string> candidates_;
  void* library_ = nullptr;
  Entry entry_ = nullptr;
  std::string loaded_from_;
  int calls_ = 0;
};

}  // namespace lexomir::ui
