#pragma once

#include <stdexcept>
#include <string>

namespace zantor::compare {

inline constexpr const char* kProcessCanceled = "Process Canceled.";
inline constexpr const char* kEmptyFiles = "Empty file(s) ???";

// A failure of a comparison or of reading its files; what() is the text the
// user is shown. `cause` carries the system's reason when a file could not be
// read (empty otherwise), for the places that have room to say it.
class CompareError : public std::runtime_error {
public:
    explicit CompareError(const std::string& message, std::string cause = {})
        : std::runtime_error(message), cause_(std::move(cause)) {}
    const std::string& cause() const { return cause_; }

private:
    std::string cause_;
};

// The user's cancel request, honoured by the next progress step.
class CompareCanceled : public CompareError {
public:
    CompareCanceled() : CompareError(kProcessCanceled) {}
};

}  // namespace zantor::compare
