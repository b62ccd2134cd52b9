#!/usr/bin/env python3
"""Sweeps every two-byte GBK and Big5 code through Lexomir's code-page layer and compares it with python3's
gbk and cp950 codecs. Usage: scripts/codepage-sweep.py [BUILD_DIR]   (default build/dev)

It compiles a tiny helper against the built text and platform libraries, so build lexomir_text first.
Python's codecs are a good oracle but not the Windows code pages: python's gbk is not code page 936 at the
single byte 0x80 (the euro sign) and in the user-defined (private-use) areas, and its cp950 lacks some of
the private-use and vendor codes of code page 950. Those differences are counted and shown, not failed."""
import collections
import os
import subprocess
import sys
import tempfile

HELPER = r'''
#include <cstdio>
#include <string>
#include "text/codepage.h"
// For every code: the code, the UTF-16 units read in that code page, and (Big5 only) the GBK bytes.
int main(int argc, char** argv) {
  const bool big5 = argc > 1 && std::string(argv[1]) == "big5";
  const int code_page = big5 ? lexomir::kCodePageBig5 : lexomir::kCodePageGbk;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x3F; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      // Trail 3F stands for the lead byte alone.
      const std::string code = trail == 0x3F ? std::string(1, static_cast<char>(lead))
                                             : std::string{static_cast<char>(lead), static_cast<char>(trail)};
      if (code.size() == 2 && (lead == 0x80 || lead == 0xFF)) continue;
      const lexomir::Bytes wide = lexomir::to_wide(code, code_page);
      for (unsigned char c : code) std::printf("%02X", c);
      std::printf(" ");
      for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
        const unsigned unit = static_cast<unsigned char>(wide.data()[i]) | static_cast<unsigned char>(wide.data()[i + 1]) << 8;
        if (unit == 0) break;
        std::printf("%04X", unit);
      }
      if (big5) {
        std::printf(" ");
        for (unsigned char c : lexomir::big5_to_gbk(code)) std::printf("%02X", c);
      }
      std::printf("\n");
    }
  }
  return 0;
}
'''


def build_helper(root, build, out_dir):
    source = os.path.join(out_dir, "sweep.cpp")
    binary = os.path.join(out_dir, "sweep")
    with open(source, "w") as f:
        f.write(HELPER)
    libs = subprocess.run(["pkg-config", "--libs", "icu-uc", "icu-i18n", "libpcre2-16"], check=True,
                          capture_output=True, text=True).stdout.split()
    subprocess.run(["g++", "-std=c++20", "-O1", "-I" + root, source,
                    os.path.join(build, "text", "liblexomir_text.a"),
                    os.path.join(build, "platform", "liblexomir_platform.a"), *libs, "-lpthread", "-o", binary],
                   check=True)
    return binary


def run(binary, mode):
    out = subprocess.run([binary, mode], check=True, capture_output=True, text=True).stdout
    rows = {}
    for line in out.splitlines():
        fields = line.split(" ")
        code = bytes.fromhex(fields[0])
        units = fields[1]
        text = "".join(chr(int(units[i:i + 4], 16)) for i in range(0, len(units), 4))
        rows[code] = (text, bytes.fromhex(fields[2]) if len(fields) > 2 else None)
    return rows


def python_decode(code, codec):
    try:
        return code.decode(codec)
    except UnicodeDecodeError:
        return None


def is_private_use(text):
    return any(0xE000 <= ord(c) <= 0xF8FF for c in text)


def report(title, differences, total):
    print(f"{title}: {total} codes, {total - sum(len(v) for v in differences.values())} agree")
    for reason, rows in sorted(differences.items(), key=lambda kv: -len(kv[1])):
        print(f"  {len(rows):6d}  {reason}")
        for row in rows[:4]:
            print(f"          {row}")


def difference_reason(ours, theirs, code_page):
    if theirs is None and is_private_use(ours):
        return f"private use in {code_page}, python has no character"
    if theirs is None and ours == "\ufffd":
        return "no character in either (we give U+FFFD)"
    if theirs is None:
        return f"character in {code_page} only"
    return "different characters"


def sweep_gbk(binary):
    rows = run(binary, "gbk")
    differences = collections.defaultdict(list)
    for code, (ours, _) in rows.items():
        theirs = python_decode(code, "gbk")
        if theirs == ours:
            continue
        differences[difference_reason(ours, theirs, "936")].append(
            f"{code.hex().upper()}: ours {ours!r} python {theirs!r}")
    report("GBK codes (lead bytes alone and two-byte codes)", differences, len(rows))


def sweep_big5(binary):
    rows = run(binary, "big5")
    differences = collections.defaultdict(list)
    stopped = []
    for code, (ours, ours_gbk) in rows.items():
        theirs = python_decode(code, "cp950")
        if theirs != ours:
            differences[difference_reason(ours, theirs, "950")].append(
                f"{code.hex().upper()}: ours {ours!r} python {theirs!r}")
            continue
        if theirs is None:
            continue
        try:
            expected_gbk = theirs.encode("gbk")
        except UnicodeEncodeError:
            expected_gbk = b""
        if ours_gbk != expected_gbk:
            differences["Big5 -> GBK differs from python's gbk"].append(
                f"{code.hex().upper()} {theirs!r}: ours {ours_gbk.hex()} python {expected_gbk.hex()}")
        elif not ours_gbk:
            stopped.append(f"{code.hex().upper()} {theirs!r} U+{ord(theirs[0]):04X}")
    report("Big5 two-byte codes", differences, len(rows))
    print(f"Big5 characters GBK cannot hold (the conversion stops before them): {len(stopped)}")
    for row in stopped[:12]:
        print(f"          {row}")


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build", "dev"))
    with tempfile.TemporaryDirectory() as out_dir:
        binary = build_helper(root, build, out_dir)
        sweep_gbk(binary)
        sweep_big5(binary)


if __name__ == "__main__":
    main()
