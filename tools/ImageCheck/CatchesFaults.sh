#!/usr/bin/env bash
# Shows that the image check fails when it should: it copies the good images, breaks
# one property at a time by patching bytes of a copy, and expects the check to name the
# broken image and fail. The unpatched copies must pass first.
#   CatchesFaults.sh <ImageCheck> <fw-ia32 images> <fw-x64 images>
set -euo pipefail
check=$1
ia32=$2
x64=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fresh() {
  rm -rf "$work/ia32" "$work/x64"
  mkdir -p "$work/ia32" "$work/x64"
  cp "$ia32"/*.efi "$work/ia32/"
  cp -r "$x64"/. "$work/x64/"
}

u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
put() { # <file> <offset> <byte value>
  printf "$(printf '\\%03o' "$3")" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
byte() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }

# Offsets in a PE image: the COFF header, the optional header, the section table.
coff() { echo $(($(u32 "$1" 60) + 4)); }
optional() { echo $(($(coff "$1") + 20)); }
section() { # <file> <index>
  echo $(($(optional "$1") + $(u16 "$1" $(($(coff "$1") + 16))) + 40 * $2))
}

expect_failure() { # <what> <image named in the message>
  if output=$("$check" --check "$work/ia32" "$work/x64" 2>&1); then
    echo "not caught: $1"
    exit 1
  fi
  if ! grep -q "$2" <<<"$output"; then
    echo "caught, but the message does not name $2: $1"
    echo "$output"
    exit 1
  fi
  echo "caught: $1: $(grep "$2" <<<"$output" | head -1)"
}

fresh
"$check" --check "$work/ia32" "$work/x64" >/dev/null || {
  echo "the unpatched images do not pass"
  exit 1
}

fresh # a pre-memory image that says it can be relocated
file="$work/ia32/RebootLoopPei.efi"
at=$(($(coff "$file") + 18))
put "$file" "$at" $(($(byte "$file" "$at") & 0xFE))
expect_failure "relocations-stripped flag cleared" RebootLoopPei

fresh # a pre-memory section the image would write to
file="$work/ia32/BmcBoardTag.efi"
at=$(($(section "$file" 0) + 39))
put "$file" "$at" $(($(byte "$file" "$at") | 0x80))
expect_failure "writable section in an execute-in-place image" BmcBoardTag

fresh # a driver whose subsystem is an application
file="$work/x64/SioPolicyDxe.efi"
put "$file" $(($(optional "$file") + 68)) 10
expect_failure "subsystem 10" SioPolicyDxe

fresh # an absolute address without a relocation: the second-base link differs where
# no relocation says it may
file="$work/x64/second-base/RebootLoopDxe.efi"
at=$(($(u32 "$file" $(($(section "$file" 0) + 20))) + 16))
put "$file" "$at" $((($(byte "$file" "$at") + 1) & 0xFF))
expect_failure "a difference between the two links no relocation explains" RebootLoopDxe
