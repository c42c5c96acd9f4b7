#pragma once
// A POSIX call that failed, as a value: which call, on what, and the errno it left. The toolkit's functions
// return an Outcome, the value they made or the failure that kept them from making it; an Outcome dropped
// unread does not compile, so no failure goes unseen.

#include <optional>
#include <string>
#include <utility>

namespace quillfex::posix {

struct SystemFailure {
  std::string call;  // the call and what it was made on: "open /tmp/x"
  int error = 0;     // the errno it left

  // "open /tmp/x: No such file or directory"
  std::string text() const;
};

// The failure of `call` as errno now tells it.
SystemFailure failureOf(std::string call);

template <typename T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}
  Outcome(SystemFailure failure) : failure_(std::move(failure)) {}

  explicit operator bool() const { return value_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // What failed; meaningful only when there is no value.
  const SystemFailure& failure() const { return failure_; }

 private:
  std::optional<T> value_;
  SystemFailure failure_;
};

}  // namespace quillfex::posix
