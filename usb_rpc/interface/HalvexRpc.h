// Host-side interface of Halvex-Rpc32.dll.
//
// A host loads the DLL, looks up HalvexRpcGetInterface and then reaches every
// object through its table of operations only. The order of the virtual
// operations and the data fields of RangeInfo are the binary interface: never
// reorder, insert or remove anything here.
#pragma once

#include <stdint.h>

// Member operations use the platform's member convention on 32-bit x86 so that a
// host built with another compiler calls the same slots the same way.
#if defined(__i386__) || defined(_M_IX86)
#if defined(__GNUC__)
#define HALVEX_RPC_CALL __attribute__((thiscall))
#else
#define HALVEX_RPC_CALL __thiscall
#endif
#else
#define HALVEX_RPC_CALL
#endif

#if defined(__i386__) || defined(_M_IX86)
#if defined(__GNUC__)
#define HALVEX_RPC_EXPORT_CALL __attribute__((cdecl))
#else
#define HALVEX_RPC_EXPORT_CALL __cdecl
#endif
#else
#define HALVEX_RPC_EXPORT_CALL
#endif

#define HALVEX_RPC_INTERFACE_VERSION 256
#define HALVEX_RPC_ENTRY_NAME "HalvexRpcGetInterface"

// Slot 0 is a deleting destructor taking one flag word (bit 0: free the memory).
// It is a plain virtual operation on purpose: a C++ virtual destructor takes two
// slots with some compilers and would shift every later slot.
class HalvexRpcReferencedInstance {
 public:
  virtual void HALVEX_RPC_CALL destroy(unsigned flags) = 0;
  virtual void HALVEX_RPC_CALL retain() = 0;
  virtual void HALVEX_RPC_CALL release() = 0;

 protected:
  HalvexRpcReferencedInstance() = default;
  ~HalvexRpcReferencedInstance() = default;
};

class HalvexRpc : public HalvexRpcReferencedInstance {
 public:
  class Enumerator;
  class UsbDevice;
  class HalvexProgrammer;

  // 0xFFFF in either id matches any device.
  virtual Enumerator* HALVEX_RPC_CALL createEnumerator(uint16_t vendorId, uint16_t productId) = 0;
  // The programmer keeps the device without a reference: release it first.
  virtual HalvexProgrammer* HALVEX_RPC_CALL createProgrammer(UsbDevice* device) = 0;
  virtual double HALVEX_RPC_CALL getSeconds() = 0;

 protected:
  HalvexRpc() = default;
  ~HalvexRpc() = default;
};

class HalvexRpc::Enumerator : public HalvexRpcReferencedInstance {
 public:
  virtual UsbDevice* HALVEX_RPC_CALL openDevice() = 0;
  virtual bool HALVEX_RPC_CALL next() = 0;
  virtual bool HALVEX_RPC_CALL isValid() = 0;

 protected:
  Enumerator() = default;
  ~Enumerator() = default;
};

class HalvexRpc::UsbDevice : public HalvexRpcReferencedInstance {
 public:
  virtual uint16_t HALVEX_RPC_CALL getVendorId() = 0;
  virtual uint16_t HALVEX_RPC_CALL getProductId() = 0;
  virtual uint16_t HALVEX_RPC_CALL getDeviceRelease() = 0;
  // The texts belong to the device; null when the device has none.
  virtual const char* HALVEX_RPC_CALL getManufacturer() = 0;
  virtual const char* HALVEX_RPC_CALL getProduct() = 0;
  virtual const char* HALVEX_RPC_CALL getSerialNumber() = 0;
  virtual bool HALVEX_RPC_CALL isOk() = 0;
  // payloadBytes: even, at most 128. Data holds blockCount blocks of blockBytes
  // bytes one after the other; both counts stay below 65,536.
  virtual bool HALVEX_RPC_CALL transact(uint16_t command, const void* payload,
                                        uint32_t payloadBytes, const void* data,
                                        uint32_t blockBytes, uint32_t blockCount) = 0;
  virtual uint32_t HALVEX_RPC_CALL getReplyPayloadWords() = 0;
  // Valid until the next transaction or the device's release.
  virtual const void* HALVEX_RPC_CALL getReplyPayload() = 0;
  virtual uint16_t HALVEX_RPC_CALL getReplyStatus() = 0;

 protected:
  UsbDevice() = default;
  ~UsbDevice() = default;
};

class HalvexRpc::HalvexProgrammer : public HalvexRpcReferencedInstance {
 public:
  // Owned by its programmer: never released, retained or destroyed by the host.
  class RangeInfo {
   public:
    virtual void HALVEX_RPC_CALL destroy(unsigned flags) = 0;
    virtual bool HALVEX_RPC_CALL sendArgument(uint32_t argument) = 0;
    virtual bool HALVEX_RPC_CALL sendBlocks(const void* data, uint32_t wordsPerBlock,
                                            uint32_t blockCount) = 0;
    virtual bool HALVEX_RPC_CALL sendCommand() = 0;
    virtual bool HALVEX_RPC_CALL sendProgrammerCommand() = 0;
    virtual uint32_t HALVEX_RPC_CALL getBlockWords() = 0;

    // Read directly by hosts: right after the table pointer, without gaps.
    uint32_t first;   // the range's first word in the upper half
    uint32_t second;  // the range's second word in the upper half
    uint32_t value;
    char name[16];  // always zero-terminated

   protected:
    RangeInfo() = default;
    ~RangeInfo() = default;
  };

  virtual uint32_t HALVEX_RPC_CALL getBlockWords() = 0;
  virtual uint32_t HALVEX_RPC_CALL getNumRanges() = 0;
  // Null for an index at or above getNumRanges().
  virtual RangeInfo* HALVEX_RPC_CALL getRange(uint32_t index) = 0;
  virtual bool HALVEX_RPC_CALL sendCommand() = 0;

 protected:
  HalvexProgrammer() = default;
  ~HalvexProgrammer() = default;
};

extern "C" {
typedef HalvexRpc*(HALVEX_RPC_EXPORT_CALL* HalvexRpcGetInterfaceFn)(int32_t version);
}
