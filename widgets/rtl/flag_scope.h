// A scope guard for state flags.
#pragma once

#include <type_traits>

// Raises a flag for the life of a scope and lowers it however the scope ends,
// so no exception leaves the flag standing. The flag is a bool, or bits of a
// set of flags (the set's other bits are left as they are). Lowering does not
// look at the value before the scope: a flag raised again inside is lowered
// by whichever scope ends first.
template <typename T>
class TFlagScope {
 public:
  explicit TFlagScope(T& Flag) requires std::is_same_v<T, bool> : TFlagScope(Flag, true) {}
  TFlagScope(T& Set, std::type_identity_t<T> Bits) : set_(Set), bits_(Bits) {
    set_ = static_cast<T>(set_ | bits_);
  }
  ~TFlagScope() {
    if constexpr (std::is_same_v<T, bool>)
      set_ = false;
    else
      set_ = static_cast<T>(set_ & ~bits_);
  }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  T& set_;
  T bits_;
};
