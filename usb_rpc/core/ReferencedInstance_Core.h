// Reference counting shared by every counted object the library hands out.
#pragma once

#include <stdint.h>

#include "HalvexRpc.h"

// Sits between an interface and its implementation, so the count directly follows
// the table pointer in every counted object.
template <class Interface>
class ReferencedInstance_Core : public Interface {
 public:
  void HALVEX_RPC_CALL retain() noexcept override { ++referenceCount_; }
  void HALVEX_RPC_CALL release() noexcept override {
    if (referenceCount_-- == 1) this->destroy(1);
  }

 protected:
  ReferencedInstance_Core() = default;
  ~ReferencedInstance_Core() = default;
  ReferencedInstance_Core(const ReferencedInstance_Core&) = delete;
  ReferencedInstance_Core& operator=(const ReferencedInstance_Core&) = delete;

 private:
  int32_t referenceCount_ = 1;
};
