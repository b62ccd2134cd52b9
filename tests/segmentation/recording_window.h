#pragma once
// A binding of the window operations that records every call in order and keeps the boxes and the
// clipboard as texts, so a test sees exactly what a method asked of the window.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "segmentation/captions.h"
#include "segmentation/window_operations.h"

namespace lexomir::testing {

class RecordingWindow final : public WindowOperations {
 public:
  Text question;
  // Read afresh for every link; when several are given, each read takes the next and the last repeats.
  std::vector<Text> proxies{Text()};
  Text result;
  std::optional<Text> clipboard;  // nothing until a method puts something there
  bool enabled = true;
  Text caption = kIdleCaption;
  // Called after each append, for instance to clear the box as a user might while a run goes on.
  std::function<void(RecordingWindow&)> after_append;

  // One line per call: "enabled 0", "caption <text>", "set result <text>", "read question",
  // "read proxy", "read result", "append <text>", "clipboard <text>".
  std::vector<std::string> calls;

  Text read_question_text() override {
    calls.push_back("read question");
    return question;
  }
  Text read_proxy_text() override {
    calls.push_back("read proxy");
    const Text proxy = proxies.at(next_proxy_);
    if (next_proxy_ + 1 < proxies.size()) ++next_proxy_;
    return proxy;
  }
  void set_button_enabled(bool value) override {
    calls.push_back(value ? "enabled 1" : "enabled 0");
    enabled = value;
  }
  void set_button_caption(const Text& text) override {
    calls.push_back("caption " + text);
    caption = text;
  }
  void set_result_text(const Text& text) override {
    calls.push_back("set result " + text);
    result = text;
  }
  Text read_result_text() override {
    calls.push_back("read result");
    return result;
  }
  void append_result_text(const Text& text) override {
    calls.push_back("append " + text);
    result += text;
    if (after_append) after_append(*this);
  }
  void put_clipboard_text(const Text& text) override {
    calls.push_back("clipboard " + text);
    clipboard = text;
  }

  std::vector<std::string> calls_starting_with(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& call : calls) {
      if (call.rfind(prefix, 0) == 0) out.push_back(call);
    }
    return out;
  }

  // Whatever happened, a run ends with the button enabled and the idle caption, in that order.
  bool ended_idle() const {
    return calls.size() >= 2 && calls[calls.size() - 2] == "enabled 1" &&
           calls.back() == std::string("caption ") + kIdleCaption && enabled && caption == kIdleCaption;
  }

 private:
  std::size_t next_proxy_ = 0;
};

}  // namespace lexomir::testing
