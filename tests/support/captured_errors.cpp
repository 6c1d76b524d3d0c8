#include "support/captured_errors.h"

#include "platform/message_box.h"

namespace testing_support {

CapturedErrors::CapturedErrors(bool answer) : answer_(answer) {
    platform::setMessageSink(&CapturedErrors::record, this);
}

CapturedErrors::~CapturedErrors() {
    platform::setMessageSink(nullptr, nullptr);
}

bool CapturedErrors::record(void* context, const char* caption, const char* text) {
    auto* self = static_cast<CapturedErrors*>(context);
    self->texts_.emplace_back(text);
    self->lines_.push_back(std::string(caption) + ": " + text);
    return self->answer_;
}

}  // namespace testing_support
