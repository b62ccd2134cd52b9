#include "platform/codepage/transliterator.h"

#include <dlfcn.h>
#include <unicode/utrans.h>
#include <unicode/uvernum.h>

namespace lexomir::platform {
namespace {

#define LEXOMIR_NAME_OF(symbol) LEXOMIR_NAME_OF_EXPANDED(symbol)
#define LEXOMIR_NAME_OF_EXPANDED(symbol) #symbol

// The library of the ICU the program was built against, and its entry points under their versioned names
// (the ICU headers rename utrans_openU to utrans_openU_72 and so on, which the names below expand to).
constexpr const char* kLibrary = "libicui18n.so." U_ICU_VERSION_SHORT;

struct LibraryCloser {
  void operator()(void* handle) const { dlclose(handle); }
};

struct Api {
  decltype(&utrans_openU) open = nullptr;
  decltype(&utrans_transUChars) trans = nullptr;
  decltype(&utrans_close) close = nullptr;
};

template <typename Function>
bool find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace

struct Transliterator::State {
  std::unique_ptr<void, LibraryCloser> library;
  Api api;
  UTransliterator* transliterator = nullptr;
};

Transliterator::Transliterator(const char16_t* id) : state_(std::make_unique<State>()) {
  // ICU keeps caches and clean-up hooks that point into the library after the transform is closed, so it
  // stays mapped for the life of the process even when this handle is closed.
  state_->library.reset(dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE));
  void* library = state_->library.get();
  Api& api = state_->api;
  if (library == nullptr || !find(library, LEXOMIR_NAME_OF(utrans_openU), api.open) ||
      !find(library, LEXOMIR_NAME_OF(utrans_transUChars), api.trans) ||
      !find(library, LEXOMIR_NAME_OF(utrans_close), api.close)) {
    return;
  }
  UErrorCode error = U_ZERO_ERROR;
  UTransliterator* transliterator =
      api.open(reinterpret_cast<const UChar*>(id), -1, UTRANS_FORWARD, nullptr, 0, nullptr, &error);
  if (U_FAILURE(error)) {
    if (transliterator != nullptr) api.close(transliterator);
    return;
  }
  state_->transliterator = transliterator;
}

Transliterator::~Transliterator() {
  if (state_->transliterator != nullptr) state_->api.close(state_->transliterator);
}

bool Transliterator::valid() const { return state_->transliterator != nullptr; }

std::int32_t Transliterator::transform(char16_t* text, std::int32_t length, std::int32_t capacity) {
  if (state_->transliterator == nullptr) return -1;
  UErrorCode error = U_ZERO_ERROR;
  int32_t limit = length;
  state_->api.trans(state_->transliterator, reinterpret_cast<UChar*>(text), &length, capacity, 0, &limit,
                    &error);
  return U_FAILURE(error) ? -1 : length;
}

}  // namespace lexomir::platform
