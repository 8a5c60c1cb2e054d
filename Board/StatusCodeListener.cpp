// The platform's status-code listener. Every record is kept byte for byte as the
// module reported it; debug and assertion records are turned into text on demand, so
// a record that does not decode is still there to be inspected.
#include "StatusCodeListener.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>

#include "Guid/StatusCodeDataTypeId.h"

namespace board {

namespace {

constexpr size_t kDataHeaderSize = sizeof(EFI_STATUS_CODE_DATA);
constexpr size_t kDataTypeOffset = offsetof(EFI_STATUS_CODE_DATA, Type);

// Debug record: level, argument area, then the format.
constexpr size_t kArgumentAreaOffset = offsetof(DEBUG_MESSAGE_RECORD, ArgumentArea);
constexpr size_t kFormatOffset = offsetof(DEBUG_MESSAGE_RECORD, FormatString);

// Assertion record: the fixed block before the file name depends on the module width.
constexpr size_t kAssertionFixedBlock32 = 32;
constexpr size_t kAssertionFixedBlock64 = 40;

// Limits on what a record can make the listener read or produce: strings read from
// module memory stop after this many characters, and a field width or precision
// (a literal number or a '*' argument, possibly garbage) is capped at this many.
constexpr size_t kMaxStringCharacters = 4096;
constexpr uint64_t kMaxFieldWidth = 4096;

constexpr uint32_t kStatusCodeClassMask = EFI_STATUS_CODE_TYPE_MASK;

// Texts of the status values %r names: success, warnings 1-5, errors 1-33.
constexpr std::array<const char *, 39> kStatusNames = {
    "Success",                  //  0
    "Warning Unknown Glyph",    //  warning 1
    "Warning Delete Failure",   //  warning 2
    "Warning Write Failure",    //  warning 3
    "Warning Buffer Too Small", //  warning 4
    "Warning Stale Data",       //  warning 5
    "Load Error",               //  error 1
    "Invalid Parameter",        //  error 2
    "Unsupported",              //  error 3
    "Bad Buffer Size",          //  error 4
    "Buffer Too Small",         //  error 5
    "Not Ready",                //  error 6
    "Device Error",             //  error 7
    "Write Protected",          //  error 8
    "Out of Resources",         //  error 9
    "Volume Corrupt",           //  error 10
    "Volume Full",              //  error 11
    "No Media",                 //  error 12
    "Media changed",            //  error 13
    "Not Found",                //  error 14
    "Access Denied",            //  error 15
    "No Response",              //  error 16
    "No mapping",               //  error 17
    "Time out",                 //  error 18
    "Not started",              //  error 19
    "Already started",          //  error 20
    "Aborted",                  //  error 21
    "ICMP Error",               //  error 22
    "TFTP Error",               //  error 23
    "Protocol Error",           //  error 24
    "Incompatible Version",     //  error 25
    "Security Violation",       //  error 26
    "CRC Error",                //  error 27
    "End of Media",             //  error 28
    "Reserved (29)",            //  error 29
    "Reserved (30)",            //  error 30
    "End of File",              //  error 31
    "Invalid Language",         //  error 32
    "Compromised Data",         //  error 33
};
constexpr size_t kFirstErrorName = 5; // error n is entry n + 5
constexpr uint64_t kLastWarning = 5;
constexpr uint64_t kLastError = 33;

uint64_t LoadLittleEndian(const uint8_t *bytes, size_t size) {
  uint64_t value = 0;
  for (size_t index = 0; index < size; index++) {
    value |= static_cast<uint64_t>(bytes[index]) << (8 * index);
  }
  return value;
}

// An EFI_GUID from its 16-byte wire form (first three fields little-endian).
EFI_GUID GuidFromBytes(const uint8_t *bytes) {
  EFI_GUID guid{};
  guid.Data1 = static_cast<uint32_t>(LoadLittleEndian(bytes, 4));
  guid.Data2 = static_cast<uint16_t>(LoadLittleEndian(bytes + 4, 2));
  guid.Data3 = static_cast<uint16_t>(LoadLittleEndian(bytes + 6, 2));
  std::memcpy(guid.Data4, bytes + 8, sizeof(guid.Data4));
  return guid;
}

bool SameGuid(const EFI_GUID &left, const EFI_GUID &right) {
  return left.Data1 == right.Data1 && left.Data2 == right.Data2 && left.Data3 == right.Data3 &&
         std::memcmp(left.Data4, right.Data4, sizeof(left.Data4)) == 0;
}

// Registry form, upper case: 8-4-4-4-12.
std::string GuidText(const EFI_GUID &guid) {
  char text[37];
  std::snprintf(text, sizeof(text), "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

// The name of a status value of the given module width; values outside the name
// table as their low 32 bits in 8 upper-case hex digits.
std::string StatusText(uint64_t status, unsigned width) {
  const uint64_t errorBit = width == 64 ? (uint64_t{1} << 63) : (uint64_t{1} << 31);
  if ((status & errorBit) != 0) {
    const uint64_t error = status & ~errorBit;
    if (error >= 1 && error <= kLastError) {
      return kStatusNames[static_cast<size_t>(error) + kFirstErrorName];
    }
  } else if (status <= kLastWarning) {
    return kStatusNames[static_cast<size_t>(status)];
  }
  char text[9];
  std::snprintf(text, sizeof(text), "%08X", static_cast<unsigned>(status & 0xFFFFFFFFu));
  return text;
}

void AppendUtf8(std::string &out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// 8-bit text of the firmware: each byte is one character.
std::u32string Widen(std::string_view text) {
  std::u32string wide;
  for (char character : text) {
    wide += static_cast<char32_t>(static_cast<uint8_t>(character));
  }
  return wide;
}

bool IsHighSurrogate(uint16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The characters of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::u32string DecodeUtf16(const std::vector<uint16_t> &units) {
  std::u32string text;
  for (size_t index = 0; index < units.size(); index++) {
    const uint16_t unit = units[index];
    if (IsHighSurrogate(unit) && index + 1 < units.size() && IsLowSurrogate(units[index + 1])) {
      text += static_cast<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (units[index + 1] - 0xDC00));
      index++;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      text += U'\uFFFD';
    } else {
      text += static_cast<char32_t>(unit);
    }
  }
  return text;
}

// The argument area of a debug record, taken the way the module packed it. A read
// that would run past the area yields 0 and exhausts the area, as the module's own
// argument cursor does.
class ArgumentCursor {
public:
  explicit ArgumentCursor(std::span<const uint8_t> area) : area_(area) {}

  uint64_t Take(size_t size) {
    if (area_.size() - offset_ < size) {
      offset_ = area_.size();
      return 0;
    }
    const uint64_t value = LoadLittleEndian(area_.data() + offset_, size);
    offset_ += size;
    return value;
  }

private:
  std::span<const uint8_t> area_;
  size_t offset_ = 0;
};

// Flags, width and precision of one conversion.
struct FieldFormat {
  bool leftJustify = false;
  bool zeroFill = false;
  bool plusSign = false;
  bool blankSign = false;
  bool isLong = false;
  uint64_t width = 0;
  bool hasPrecision = false;
  uint64_t precision = 0;
};

void Pad(std::u32string &out, const std::u32string &text, const FieldFormat &field) {
  const size_t fill = field.width > text.size() ? static_cast<size_t>(field.width) - text.size() : 0;
  if (!field.leftJustify) {
    out.append(fill, U' ');
  }
  out += text;
  if (field.leftJustify) {
    out.append(fill, U' ');
  }
}

// A number laid out as printf lays it out: precision is the least number of digits,
// the '0' flag fills the width with zeros after the sign unless a precision is given
// or the number is left-justified.
void AppendNumber(std::u32string &out, uint64_t magnitude, bool negative, bool signedConversion,
                  unsigned radix, bool upperCase, const FieldFormat &field) {
  const char *digitSet = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  std::u32string digits;
  for (uint64_t rest = magnitude; rest != 0; rest /= radix) {
    digits.insert(digits.begin(), static_cast<char32_t>(digitSet[rest % radix]));
  }
  const uint64_t minimumDigits = field.hasPrecision ? field.precision : 1;
  if (digits.size() < minimumDigits) {
    digits.insert(0, static_cast<size_t>(minimumDigits) - digits.size(), U'0');
  }

  std::u32string sign;
  if (negative) {
    sign = U"-";
  } else if (signedConversion && field.plusSign) {
    sign = U"+";
  } else if (signedConversion && field.blankSign) {
    sign = U" ";
  }

  if (field.zeroFill && !field.leftJustify && !field.hasPrecision &&
      field.width > sign.size() + digits.size()) {
    digits.insert(0, static_cast<size_t>(field.width) - sign.size() - digits.size(), U'0');
  }
  Pad(out, sign + digits, field);
}

// Expands one debug record's format against its argument area.
class DebugExpander {
public:
  DebugExpander(unsigned width, const GuestMemory &memory, std::span<const uint8_t> area)
      : width_(width), naturalSlot_(width / 8), memory_(memory), arguments_(area) {}

  std::string Expand(std::string_view format) {
    std::u32string out;
    for (size_t index = 0; index < format.size(); index++) {
      if (format[index] != '%') {
        out += static_cast<char32_t>(static_cast<uint8_t>(format[index]));
        continue;
      }
      index = ExpandConversion(format, index, out);
    }
    std::string text;
    for (char32_t character : out) {
      AppendUtf8(text, character);
    }
    return text;
  }

private:
  // Walks the conversion starting at format[start] == '%' with the grammar the module
  // used to pack its arguments, so that every conversion takes exactly the slot the
  // module filled for it. Returns the index of the conversion's last character.
  size_t ExpandConversion(std::string_view format, size_t start, std::u32string &out) {
    FieldFormat field;
    bool afterDot = false;
    bool inNumber = false;
    size_t index = start + 1;
    for (; index < format.size(); index++) {
      const char character = format[index];
      if (character >= '0' && character <= '9') {
        if (character == '0' && !inNumber && !afterDot) {
          field.zeroFill = true;
          continue;
        }
        uint64_t &number = afterDot ? field.precision : field.width;
        if (!inNumber) {
          number = 0;
          inNumber = true;
        }
        number = std::min<uint64_t>(number * 10 + static_cast<uint64_t>(character - '0'), kMaxFieldWidth);
        continue;
      }
      inNumber = false;
      switch (character) {
      case '.':
        afterDot = true;
        field.hasPrecision = true;
        field.precision = 0;
        continue;
      case '-':
        field.leftJustify = true;
        continue;
      case '+':
        field.plusSign = true;
        continue;
      case ' ':
        field.blankSign = true;
        continue;
      case 'l':
      case 'L':
        field.isLong = true;
        continue;
      case '*':
        TakeStarArgument(field, afterDot);
        continue;
      default:
        break;
      }
      ExpandConversionCharacter(character, field, format.substr(start, index + 1 - start), out);
      return index;
    }
    // The format ended inside the conversion: it takes nothing and stays as written.
    out += Widen(format.substr(start));
    return format.size() - 1;
  }

  // '*' takes a natural-width argument: a width (negative means left-justify) or, after
  // '.', a precision (negative means none).
  void TakeStarArgument(FieldFormat &field, bool afterDot) {
    const uint64_t raw = arguments_.Take(naturalSlot_);
    const int64_t value = width_ == 64 ? static_cast<int64_t>(raw) : static_cast<int32_t>(raw);
    const uint64_t magnitude = std::min<uint64_t>(
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value), kMaxFieldWidth);
    if (afterDot) {
      field.hasPrecision = value >= 0;
      field.precision = value >= 0 ? magnitude : 0;
    } else {
      field.leftJustify = field.leftJustify || value < 0;
      field.width = magnitude;
    }
  }

  // A 32-bit integer takes a slot of the natural width (its low 4 bytes), a 64-bit one
  // eight bytes in either width.
  uint64_t TakeInteger(const FieldFormat &field) {
    if (field.isLong) {
      return arguments_.Take(8);
    }
    return arguments_.Take(naturalSlot_) & 0xFFFFFFFFu;
  }

  void ExpandConversionCharacter(char conversion, const FieldFormat &field, std::string_view written,
                                 std::u32string &out) {
    switch (conversion) {
    case 'd': {
      const uint64_t raw = TakeInteger(field);
      const int64_t value = field.isLong ? static_cast<int64_t>(raw) : static_cast<int32_t>(raw);
      const bool negative = value < 0;
      const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
      AppendNumber(out, magnitude, negative, true, 10, false, field);
      return;
    }
    case 'u':
      AppendNumber(out, TakeInteger(field), false, false, 10, false, field);
      return;
    case 'x':
    case 'X':
      AppendNumber(out, TakeInteger(field), false, false, 16, conversion == 'X', field);
      return;
    case 'p': {
      // A pointer of the module's width, or eight bytes after 'l'.
      const uint64_t address = arguments_.Take(field.isLong ? 8 : naturalSlot_);
      AppendNumber(out, address, false, false, 16, true, field);
      return;
    }
    case 'a':
      AppendString(out, ReadAscii(arguments_.Take(naturalSlot_)), field);
      return;
    case 's':
    case 'S':
      AppendString(out, ReadUtf16(arguments_.Take(naturalSlot_)), field);
      return;
    case 'g':
      Pad(out, Widen(GuidAt(arguments_.Take(naturalSlot_))), field);
      return;
    case 't':
      Pad(out, Widen(TimeAt(arguments_.Take(naturalSlot_))), field);
      return;
    case 'r':
      Pad(out, Widen(StatusText(arguments_.Take(naturalSlot_), width_)), field);
      return;
    case 'c': {
      // A UTF-16 code unit in a natural-width slot; NUL shows as nothing.
      const uint16_t unit = static_cast<uint16_t>(arguments_.Take(naturalSlot_));
      std::u32string text;
      if (unit != 0) {
        text = DecodeUtf16({unit});
      }
      Pad(out, text, field);
      return;
    }
    case '%':
      out += U'%';
      return;
    default:
      // Not a conversion of the debug facility: it took no argument; show it as written.
      out += Widen(written);
      return;
    }
  }

  static void AppendString(std::u32string &out, std::optional<std::u32string> text,
                           const FieldFormat &field) {
    std::u32string shown = text ? std::move(*text) : U"<null string>";
    if (field.hasPrecision && shown.size() > field.precision) {
      shown.resize(static_cast<size_t>(field.precision));
    }
    Pad(out, shown, field);
  }

  // An 8-bit string in module memory; nothing when the pointer is null or unreadable.
  // A string that becomes unreadable part way ends there.
  std::optional<std::u32string> ReadAscii(uint64_t address) const {
    if (address == 0) {
      return std::nullopt;
    }
    std::u32string text;
    for (size_t index = 0; index < kMaxStringCharacters; index++) {
      uint8_t character = 0;
      if (!memory_.Read(address + index, &character, 1)) {
        if (index == 0) {
          return std::nullopt;
        }
        break;
      }
      if (character == 0) {
        break;
      }
      text += static_cast<char32_t>(character);
    }
    return text;
  }

  // A UTF-16 string in module memory, read one code unit at a time so that nothing
  // past its terminator is touched.
  std::optional<std::u32string> ReadUtf16(uint64_t address) const {
    if (address == 0) {
      return std::nullopt;
    }
    std::vector<uint16_t> units;
    for (size_t index = 0; index < kMaxStringCharacters; index++) {
      uint8_t bytes[2] = {};
      if (!memory_.Read(address + 2 * index, bytes, sizeof(bytes))) {
        if (index == 0) {
          return std::nullopt;
        }
        break;
      }
      const uint16_t unit = static_cast<uint16_t>(LoadLittleEndian(bytes, sizeof(bytes)));
      if (unit == 0) {
        break;
      }
      units.push_back(unit);
    }
    return DecodeUtf16(units);
  }

  std::string GuidAt(uint64_t address) const {
    uint8_t bytes[sizeof(EFI_GUID)] = {};
    if (address == 0 || !memory_.Read(address, bytes, sizeof(bytes))) {
      return "<null guid>";
    }
    return GuidText(GuidFromBytes(bytes));
  }

  // An EFI_TIME as month/day/year, two blanks, hour:minute. Only the fields shown are
  // read: year (16 bits) at 0, month, day, hour, minute at 2 to 5.
  std::string TimeAt(uint64_t address) const {
    uint8_t bytes[6] = {};
    if (address == 0 || !memory_.Read(address, bytes, sizeof(bytes))) {
      return "<null time>";
    }
    char text[32];
    std::snprintf(text, sizeof(text), "%02u/%02u/%04u  %02u:%02u", unsigned{bytes[2]}, unsigned{bytes[3]},
                  static_cast<unsigned>(LoadLittleEndian(bytes, 2)), unsigned{bytes[4]}, unsigned{bytes[5]});
    return text;
  }

  unsigned width_;
  size_t naturalSlot_;
  const GuestMemory &memory_;
  ArgumentCursor arguments_;
};

// The text of a NUL-terminated string that starts at offset within bytes; nothing when
// the string has no terminator there.
std::optional<std::string> TerminatedString(const std::vector<uint8_t> &bytes, size_t offset) {
  if (offset >= bytes.size()) {
    return std::nullopt;
  }
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(offset);
  const auto end = std::find(begin, bytes.end(), uint8_t{0});
  if (end == bytes.end()) {
    return std::nullopt;
  }
  return std::string(begin, end);
}

uint32_t StatusCodeClass(uint32_t type) {
  return type & kStatusCodeClassMask;
}

} // namespace

std::vector<uint8_t> StatusCodeRecord::Payload() const {
  if (data.size() <= kDataHeaderSize) {
    return {};
  }
  return std::vector<uint8_t>(data.begin() + kDataHeaderSize, data.end());
}

EFI_GUID StatusCodeRecord::DataType() const {
  if (data.size() < kDataHeaderSize) {
    return EFI_GUID{};
  }
  return GuidFromBytes(data.data() + kDataTypeOffset);
}

StatusCodeListener::StatusCodeListener(unsigned width, const GuestMemory &memory)
    : width_(width), memory_(memory) {
  if (width != 32 && width != 64) {
    throw std::invalid_argument("status-code listener width must be 32 or 64");
  }
}

void StatusCodeListener::Record(uint32_t type, uint32_t value, uint32_t instance, const EFI_GUID *callerId,
                                const EFI_STATUS_CODE_DATA *data) {
  StatusCodeRecord record;
  record.type = type;
  record.value = value;
  record.instance = instance;
  if (callerId != nullptr) {
    record.callerId = *callerId;
    record.hasCallerId = true;
  }
  if (data != nullptr) {
    // The header names the size of the data behind it; exactly that much is kept.
    const auto *bytes = reinterpret_cast<const uint8_t *>(data);
    record.data.assign(bytes, bytes + kDataHeaderSize + data->Size);
  }
  records_.push_back(std::move(record));
}

std::optional<std::string> StatusCodeListener::ExpandDebug(const StatusCodeRecord &record) const {
  if (StatusCodeClass(record.type) != EFI_DEBUG_CODE ||
      !SameGuid(record.DataType(), gEfiStatusCodeDataTypeDebugGuid)) {
    return std::nullopt;
  }
  const std::vector<uint8_t> payload = record.Payload();
  const std::optional<std::string> format = TerminatedString(payload, kFormatOffset);
  if (!format) {
    return std::nullopt;
  }
  const std::span<const uint8_t> area(payload.data() + kArgumentAreaOffset, DEBUG_ARGUMENT_AREA_SIZE);
  return DebugExpander(width_, memory_, area).Expand(*format);
}

std::optional<DecodedAssertion> StatusCodeListener::DecodeAssertion(const StatusCodeRecord &record) const {
  if (StatusCodeClass(record.type) != EFI_ERROR_CODE ||
      !SameGuid(record.DataType(), gEfiStatusCodeSpecificDataGuid)) {
    return std::nullopt;
  }
  const std::vector<uint8_t> payload = record.Payload();
  const size_t fixedBlock = width_ == 64 ? kAssertionFixedBlock64 : kAssertionFixedBlock32;
  if (payload.size() < fixedBlock) {
    return std::nullopt;
  }
  std::optional<std::string> file = TerminatedString(payload, fixedBlock);
  if (!file) {
    return std::nullopt;
  }
  std::optional<std::string> expression = TerminatedString(payload, fixedBlock + file->size() + 1);
  if (!expression) {
    return std::nullopt;
  }
  DecodedAssertion assertion;
  assertion.file = std::move(*file);
  assertion.line = static_cast<uint32_t>(LoadLittleEndian(payload.data() + ASSERTION_RECORD_LINE_OFFSET, 4));
  assertion.expression = std::move(*expression);
  return assertion;
}

std::string StatusCodeListener::Render(const StatusCodeRecord &record) const {
  if (std::optional<std::string> text = ExpandDebug(record)) {
    return *text;
  }
  if (std::optional<DecodedAssertion> assertion = DecodeAssertion(record)) {
    return "ASSERT " + assertion->file + "(" + std::to_string(assertion->line) +
           "): " + assertion->expression;
  }
  char words[64];
  std::snprintf(words, sizeof(words), "STATUS CODE type 0x%08X value 0x%08X instance %u caller ",
                static_cast<unsigned>(record.type), static_cast<unsigned>(record.value),
                static_cast<unsigned>(record.instance));
  return words + (record.hasCallerId ? GuidText(record.callerId) : std::string("none"));
}

std::string StatusCodeListener::DebugText() const {
  std::string text;
  for (const StatusCodeRecord &record : records_) {
    if (std::optional<std::string> message = ExpandDebug(record)) {
      text += *message;
    }
  }
  return text;
}

std::vector<DecodedAssertion> StatusCodeListener::Assertions() const {
  std::vector<DecodedAssertion> assertions;
  for (const StatusCodeRecord &record : records_) {
    if (std::optional<DecodedAssertion> assertion = DecodeAssertion(record)) {
      assertions.push_back(std::move(*assertion));
    }
  }
  return assertions;
}

} // namespace board
