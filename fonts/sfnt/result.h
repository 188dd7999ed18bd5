#pragma once
// A value or the short reason it could not be had.

#include <string>
#include <utility>
#include <variant>

namespace tavrel {

// Short enough for std::string's inline buffer: reporting it allocates nothing.
inline constexpr char kOutOfMemory[] = "out of memory";

struct Failure {
    std::string reason;
};

template <class T>
class Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const std::string& reason() const { return std::get<1>(state_).reason; }

private:
    std::variant<T, Failure> state_;
};

// For checks that have nothing to return but a verdict.
struct Sound {};
using Check = Result<Sound>;
inline Check Passed() { return Sound{}; }

}  // namespace tavrel
