#include "BoardFixture.h"

#include <cstdio>
#include <cstring>

std::vector<uint8_t> BytesOf(const void *data, size_t size) {
  const auto *bytes = static_cast<const uint8_t *>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::string GuidText(const EFI_GUID &guid) {
  char text[40];
  std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", guid.Data1,
                guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

bool SameGuid(const EFI_GUID &a, const EFI_GUID &b) {
  return std::memcmp(&a, &b, sizeof(a)) == 0;
}
