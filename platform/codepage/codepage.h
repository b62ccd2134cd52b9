#pragma once
// Multibyte <-> UTF-16 conversion for the code pages the program meets, and the traditional -> simplified
// mapping of GBK text. Invalid input never fails: the converter substitutes, as the system services do.
#include <cstddef>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lexomir::platform {

// Leaves new elements unwritten, so a large decode buffer costs memory only where the decoder writes.
template <typename T>
struct UninitializedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitializedAllocator<U>;
  };
  using std::allocator<T>::allocator;
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

// UTF-16 text as decoded from a page.
using WideChars = std::vector<char16_t, UninitializedAllocator<char16_t>>;

inline std::u16string_view view_of(const WideChars& wide) { return {wide.data(), wide.size()}; }

inline constexpr int kUtf8 = 65001;
inline constexpr int kGbk = 936;
inline constexpr int kBig5 = 950;
inline constexpr int kAnsi = 0;  // the ANSI code page of this program is GBK

// What becomes of a character that the target code page cannot hold.
enum class Unmappable {
  kSubstitute,  // the code page's default character ("?")
  kStop,        // output ends just before it (an empty default character)
};

// An open converter for one code page, reusable for many conversions on one thread.
class CodePageConverter {
 public:
  explicit CodePageConverter(int code_page);
  ~CodePageConverter();
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  // False for an unknown code page; every conversion then gives an empty result.
  bool valid() const;
  // Appends the UTF-16 form of bytes to out.
  void to_wide(std::string_view bytes, WideChars& out);
  // The offset of the byte that UTF-16 unit `unit` of the decoded bytes came from; bytes.size() for the unit
  // just past the end.
  std::size_t byte_offset_of_unit(std::string_view bytes, std::size_t unit);
  // Appends the multibyte form of wide to out.
  void from_wide(std::u16string_view wide, std::string& out, Unmappable unmappable = Unmappable::kSubstitute);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

WideChars multibyte_to_wide(int code_page, std::string_view bytes);
std::string wide_to_multibyte(int code_page, std::u16string_view wide,
                              Unmappable unmappable = Unmappable::kSubstitute);

// GBK in, GBK out, byte for byte the same length: each two-byte character whose simplified form is again one
// two-byte GBK character is replaced by it. Single bytes and a trailing lone lead byte pass unchanged.
std::string map_simplified_chinese(std::string_view gbk);

}  // namespace lexomir::platform
