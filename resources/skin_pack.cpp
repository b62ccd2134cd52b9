// Packs a style sheet into a skin file: ".SHE", the bytes 00 03, then the sheet unchanged.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lexomir_skin_pack SHEET.qss SKIN.she\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "lexomir_skin_pack: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string sheet((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  static const char kHeader[] = {'.', 'S', 'H', 'E', '\0', '\3'};
  out.write(kHeader, sizeof kHeader);
  out.write(sheet.data(), static_cast<std::streamsize>(sheet.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "lexomir_skin_pack: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
