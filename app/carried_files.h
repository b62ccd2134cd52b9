#pragma once
// The skin engine and the twenty-five skins that the program carries inside itself.
#include <QByteArray>

namespace lexomir::ui {

inline constexpr char kEngineFileName[] = "jedata.dll";
inline constexpr char kSkinFileName[] = "{df6546sd4fwer}.she";
inline constexpr int kSkinCount = 25;

QByteArray engine_bytes();
// Skin numbers 1 to 25 select that skin and 0 stands for 25; for any other number the result is empty.
QByteArray skin_bytes(int number);
// The number a skin number selects (0 becomes 25), or 0 when it selects none.
int selected_skin(int number);

}  // namespace lexomir::ui
