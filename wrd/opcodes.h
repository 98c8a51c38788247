#pragma once

#include <cstdint>

// The opcodes of the records the build writes, which the player runs and vnl-dump describes.
namespace wrd_opcode {
constexpr uint8_t kEnd = 0x00;
constexpr uint8_t kStart = 0x01;
constexpr uint8_t kAllocatePalette = 0x21;  // also the time base, in the definition block
constexpr uint8_t kAllocatePage = 0x25;
constexpr uint8_t kLoadPicture = 0x27;
constexpr uint8_t kChangePalette = 0x31;
constexpr uint8_t kDisplayPage = 0x35;
constexpr uint8_t kSetPalette = 0x41;
constexpr uint8_t kBlendPalette = 0x42;
constexpr uint8_t kCopyPalette = 0x43;
constexpr uint8_t kDrawText = 0x51;
constexpr uint8_t kFillRect = 0x52;
constexpr uint8_t kMove = 0x61;
constexpr uint8_t kTitle = 0x71;
}  // namespace wrd_opcode
