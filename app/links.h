#pragma once
// The two links at the foot of the window: the only place their captions and targets are kept.

namespace lexomir::ui {

inline constexpr char kFeedbackCaption[] = "\xe6\x84\x8f\xe8\xa7\x81\xe5\x8f\x8d\xe9\xa6\x88";  // 意见反馈
inline constexpr char kFeedbackTarget[] = "https://lexomir.example.org/feedback";
inline constexpr char kContactCaption[] = "\xe8\x81\x94\xe7\xb3\xbb\xe4\xbd\x9c\xe8\x80\x85";  // 联系作者
inline constexpr char kContactTarget[] = "https://lexomir.example.org/contact";

}  // namespace lexomir::ui
