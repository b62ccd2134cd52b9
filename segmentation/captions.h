#pragma once
// The texts both methods show or write, as GBK bytes.

namespace lexomir {

// "分词中,请稍后": the button while a run is under way (the comma is ASCII).
inline constexpr char kRunningCaption[] = "\xB7\xD6\xB4\xCA\xD6\xD0,\xC7\xEB\xC9\xD4\xBA\xF3";
// "一键分词": the button when idle, as the window's layout gives it.
inline constexpr char kIdleCaption[] = "\xD2\xBB\xBC\xFC\xB7\xD6\xB4\xCA";
// "；": ends every result entry, the last one too.
inline constexpr char kEntryEnd[] = "\xA3\xBB";

}  // namespace lexomir
