#include "WireFormat.h"

#include <string.h>

namespace halvex_wire {

bool payloadAcceptable(const void* payload, uint32_t payloadBytes) {
  if ((payload == nullptr) != (payloadBytes == 0)) return false;
  return payloadBytes % 2 == 0 && payloadBytes <= kMaxPayloadBytes;
}

size_t encodeRequest(uint8_t* out, uint16_t command, const void* payload, uint32_t payloadBytes,
                     uint32_t blockBytes, uint32_t blockCount) {
  static constexpr uint8_t kSignature[4] = {'B', 'U', 'b', 'u'};
  memcpy(out, kSignature, sizeof kSignature);
  writeLe16(out + 4, blockBytes);
  writeLe16(out + 6, blockCount);
  writeLe16(out + 8, command);
  writeLe16(out + 10, payloadBytes / 2);
  memset(out + 12, 0, 4);
  if (payloadBytes != 0) memcpy(out + kRequestHeaderBytes, payload, payloadBytes);
  return kRequestHeaderBytes + payloadBytes;
}

}  // namespace halvex_wire
