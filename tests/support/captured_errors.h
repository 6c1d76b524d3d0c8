#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Collects every message box raised while it lives, instead of showing it. Questions
// are answered with `answer`.
class CapturedErrors {
  public:
    explicit CapturedErrors(bool answer = false);
    ~CapturedErrors();
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;

    // The texts, in order.
    const std::vector<std::string>& texts() const { return texts_; }
    // "caption: text" lines, in order.
    const std::vector<std::string>& lines() const { return lines_; }

  private:
    static bool record(void* context, const char* caption, const char* text);

    bool answer_;
    std::vector<std::string> texts_;
    std::vector<std::string> lines_;
};

}  // namespace testing_support
