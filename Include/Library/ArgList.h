// Variable arguments of debug messages and formatted printing.
//
// A variadic front end packs its arguments into an array of slots laid out the way
// the module's calling convention lays out variable arguments, and hands a cursor over
// that array (ARG_LIST) to a non-template core:
//   64-bit modules: every argument takes one 8-byte slot;
//   32-bit modules: a 4-byte slot, or 8 bytes (low half first) for a 64-bit value.
// The core walks its format and takes each argument with the width the format names,
// as it would from the machine's own argument list. A cursor that runs past the last
// argument yields zeros instead of reading beyond the array.
//
// The front end also checks a literal format at compile time (DEBUG_FORMAT): a format
// whose conversions do not match the arguments given does not compile.
#ifndef ARG_LIST_H_
#define ARG_LIST_H_

#include "Base.h"

typedef struct {
  CONST UINT8 *Cursor;
  CONST UINT8 *End;
} ARG_LIST;

// Takes the next Size (4 or 8) bytes as a little-endian value.
inline UINT64 ArgListTake(ARG_LIST *List, UINTN Size) {
  if ((UINTN)(List->End - List->Cursor) < Size) {
    List->Cursor = List->End;
    return 0;
  }
  UINT64 Value = 0;
  for (UINTN Index = 0; Index < Size; Index++) {
    Value |= (UINT64)List->Cursor[Index] << (8 * Index);
  }
  List->Cursor += Size;
  return Value;
}

// A 32-bit value occupies a slot of the natural width.
inline UINT32 ArgNextUint32(ARG_LIST *List) {
  return (UINT32)ArgListTake(List, sizeof(UINTN));
}
inline UINT64 ArgNextUint64(ARG_LIST *List) {
  return ArgListTake(List, sizeof(UINT64));
}
inline UINTN ArgNextUintn(ARG_LIST *List) {
  return (UINTN)ArgListTake(List, sizeof(UINTN));
}
inline VOID *ArgNextPointer(ARG_LIST *List) {
  return (VOID *)ArgNextUintn(List);
}

// The grammar of a debug format. After a '%', the flags '.', '-', '+', ' ' and the
// digits are passed over, 'l' or 'L' marks the conversion as 64-bit, every '*' names
// one width argument, the end of the format ends the conversion with nothing more,
// and any other character is the conversion character; the walk goes on after it.
// OnConversion (Character, Long) is called for each '*' and each conversion character,
// in order; the walk stops, returning FALSE, as soon as it returns FALSE.
template <class ON_CONVERSION>
constexpr BOOLEAN WalkDebugFormat(CONST CHAR8 *Format, ON_CONVERSION &&OnConversion) {
  for (; *Format != '\0'; Format++) {
    if (*Format != '%') {
      continue;
    }
    BOOLEAN Long = FALSE;
    for (Format++;; Format++) {
      CHAR8 Character = *Format;
      if (Character == '.' || Character == '-' || Character == '+' || Character == ' ' ||
          (Character >= '0' && Character <= '9')) {
        continue;
      }
      if (Character == 'l' || Character == 'L') {
        Long = TRUE;
        continue;
      }
      if (Character == '*') {
        if (!OnConversion(Character, Long)) {
          return FALSE;
        }
        continue;
      }
      if (Character == '\0') {
        Format--; // the conversion takes nothing more and the walk ends
        break;
      }
      if (!OnConversion(Character, Long)) {
        return FALSE;
      }
      break;
    }
  }
  return TRUE;
}

namespace ArgListDetail {

template <class T>
struct IS_POINTER {
  static constexpr bool Value = false;
};
template <class T>
struct IS_POINTER<T *> {
  static constexpr bool Value = true;
};
template <>
struct IS_POINTER<decltype(nullptr)> {
  static constexpr bool Value = true;
};

template <class T>
struct IS_INTEGER {
  static constexpr bool Value = __is_enum(T);
};
#define ARG_LIST_INTEGER_(Type)                                                                              \
  template <>                                                                                                \
  struct IS_INTEGER<Type> {                                                                                  \
    static constexpr bool Value = true;                                                                      \
  };
ARG_LIST_INTEGER_(bool)
ARG_LIST_INTEGER_(char)
ARG_LIST_INTEGER_(signed char)
ARG_LIST_INTEGER_(unsigned char)
ARG_LIST_INTEGER_(char16_t)
ARG_LIST_INTEGER_(char32_t)
ARG_LIST_INTEGER_(short)
ARG_LIST_INTEGER_(unsigned short)
ARG_LIST_INTEGER_(int)
ARG_LIST_INTEGER_(unsigned int)
ARG_LIST_INTEGER_(long)
ARG_LIST_INTEGER_(unsigned long)
ARG_LIST_INTEGER_(long long)
ARG_LIST_INTEGER_(unsigned long long)
#undef ARG_LIST_INTEGER_

template <class T>
constexpr UINTN SlotSize() {
  return (sizeof(UINTN) == 8 || sizeof(T) == 8) ? 8 : 4;
}

template <class T>
inline UINT64 SlotValue(T Value) {
  static_assert(IS_POINTER<T>::Value || IS_INTEGER<T>::Value, "arguments are integers, enums or pointers");
  if constexpr (IS_POINTER<T>::Value) {
    return (UINT64)(UINTN)(CONST VOID *)Value;
  } else if constexpr (__is_enum(T)) {
    return (UINT64)(INT64)Value;
  } else if constexpr ((T)-1 < (T)0) {
    return (UINT64)(INT64)Value; // signed: the slot holds the sign-extended value
  } else {
    return (UINT64)Value;
  }
}

// What a conversion expects of its argument, and what an argument is.
struct ARG_SHAPE {
  bool Pointer;
  bool Integer;
  UINTN Size;
};

template <class T>
constexpr ARG_SHAPE ShapeOf() {
  return ARG_SHAPE{IS_POINTER<T>::Value, IS_INTEGER<T>::Value,
                   IS_POINTER<T>::Value ? sizeof(UINTN) : sizeof(T)};
}

// Reached only when a literal format does not match its arguments; being neither
// constexpr nor defined, it turns the mismatch into a compile-time error naming it.
void FormatDoesNotMatchArguments();

enum EXPECTED : UINT8 { ExpectInt32, ExpectInt64, ExpectPointer, ExpectUpToUintn, ExpectUintn };

constexpr bool Fits(EXPECTED Expected, ARG_SHAPE Shape) {
  switch (Expected) {
  case ExpectInt32:
    return Shape.Integer && Shape.Size <= 4;
  case ExpectInt64:
    return Shape.Integer && Shape.Size == 8;
  case ExpectPointer:
    return Shape.Pointer;
  case ExpectUpToUintn:
    return Shape.Integer && Shape.Size <= sizeof(UINTN);
  case ExpectUintn:
    return Shape.Integer && Shape.Size == sizeof(UINTN);
  }
  return false;
}

// Checks every argument a literal format names against Shapes.
constexpr void CheckFormat(CONST CHAR8 *Format, CONST ARG_SHAPE *Shapes, UINTN Count) {
  UINTN Taken = 0;
  WalkDebugFormat(Format, [&](CHAR8 Character, BOOLEAN Long) -> BOOLEAN {
    EXPECTED Expected;
    switch (Character) {
    case '*':
    case 'c':
      Expected = ExpectUpToUintn;
      break;
    case 'p':
      Expected = Long && sizeof(UINTN) == 4 ? ExpectInt64 : ExpectPointer;
      break;
    case 'd':
    case 'u':
    case 'x':
    case 'X':
      Expected = Long ? ExpectInt64 : ExpectInt32;
      break;
    case 's':
    case 'S':
    case 'a':
    case 'g':
    case 't':
      Expected = ExpectPointer;
      break;
    case 'r':
      Expected = ExpectUintn;
      break;
    default:
      return TRUE; // takes no argument
    }
    if (Taken >= Count || !Fits(Expected, Shapes[Taken])) {
      FormatDoesNotMatchArguments();
    }
    Taken++;
    return TRUE;
  });
  if (Taken != Count) {
    FormatDoesNotMatchArguments();
  }
}

template <class T>
struct TYPE_IDENTITY {
  using Type = T;
};

} // namespace ArgListDetail

// Keeps the caller's type out of template argument deduction.
template <class T>
using NON_DEDUCED = typename ArgListDetail::TYPE_IDENTITY<T>::Type;

// The arguments of one call, packed into the module's slots.
template <class... Args>
class ARG_PACK {
public:
  static constexpr UINTN Size = (0 + ... + ArgListDetail::SlotSize<Args>());

  explicit ARG_PACK(Args... Arguments) {
    [[maybe_unused]] UINTN Offset = 0;
    (Store(Offset, ArgListDetail::SlotSize<Args>(), ArgListDetail::SlotValue(Arguments)), ...);
  }

  ARG_LIST List() const { return ARG_LIST{mBytes, mBytes + Size}; }

private:
  void Store(UINTN &Offset, UINTN Slot, UINT64 Value) {
    for (UINTN Index = 0; Index < Slot; Index++) {
      mBytes[Offset + Index] = (UINT8)(Value >> (8 * Index));
    }
    Offset += Slot;
  }

  UINT8 mBytes[Size > 0 ? Size : 1];
};

// A literal format, checked against the argument types at compile time.
template <class... Args>
struct DEBUG_FORMAT {
  CONST CHAR8 *Text;

  template <UINTN N>
  consteval DEBUG_FORMAT(const CHAR8 (&Literal)[N]) : Text(Literal) {
    constexpr ArgListDetail::ARG_SHAPE Shapes[] = {ArgListDetail::ShapeOf<Args>()..., {false, false, 0}};
    ArgListDetail::CheckFormat(Literal, Shapes, sizeof...(Args));
  }
};

// A format known only at run time; taken as it is, unchecked.
struct RUNTIME_FORMAT {
  CONST CHAR8 *Text;
};

#endif // ARG_LIST_H_
