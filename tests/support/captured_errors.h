#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace testing_support {

// Collects the text of every message box raised while it lives, from any thread,
// instead of showing it; questions are answered No.
class CapturedErrors {
  public:
    CapturedErrors() { platform::setMessageSink(&record, this); }
    ~CapturedErrors() { platform::setMessageSink(nullptr, nullptr); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;

    // The texts, in order.
    const std::vector<std::string>& texts() const { return texts_; }

  private:
    static bool record(void* self, const char*, const char* text) {
        static_cast<CapturedErrors*>(self)->texts_.emplace_back(text);
        return false;
    }

    std::vector<std::string> texts_;
};

}  // namespace testing_support
