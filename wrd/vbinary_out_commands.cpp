// The command emitters of VBinaryOut: each builds one record's payload and queues it.
#include <memory>

#include "wrd/vbinary_out.h"

namespace {

VOutBuffer Command(uint8_t opcode) { return VOutBuffer(opcode); }

size_t Count(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

}  // namespace

void VBinaryOut::SetTitle(const char* text) {
  auto command = Command(0x71);
  command.PutText(text);
  Enqueue(std::move(command));
}

void VBinaryOut::SetTimebase(int value) {
  auto command = Command(0x21);
  command.PutU16(static_cast<uint32_t>(value));
  Enqueue(std::move(command));
}

void VBinaryOut::Command71(int first, int second) {
  auto command = Command(0x71);
  command.PutU16(static_cast<uint32_t>(first));
  command.PutU16(static_cast<uint32_t>(second));
  Enqueue(std::move(command));
}

void VBinaryOut::AllocatePage(const PageDescriptor* pages, int n) {
  auto command = Command(0x25);
  for (size_t i = 0; i < Count(n); ++i) {
    command.PutU16(static_cast<uint16_t>(pages[i].id));
    command.PutU16(pages[i].width);
    command.PutU16(pages[i].height);
    command.PutU8(pages[i].kind);
  }
  Enqueue(std::move(command));
}

void VBinaryOut::AllocatePage(const PageDescriptor& page) { AllocatePage(&page, 1); }

void VBinaryOut::AllocatePalette(int id) {
  auto command = Command(0x21);
  command.PutU16(static_cast<uint32_t>(id));
  Enqueue(std::move(command));
}

void VBinaryOut::SetPalette(int id, const uint8_t* entries, int n) {
  auto command = Command(0x41);
  command.PutU16(static_cast<uint32_t>(id));
  command.PutBytes(entries, Count(n) * 4);
  Enqueue(std::move(command));
}

void VBinaryOut::LoadPicture(int page, int palette, const char* fileName) {
  auto command = Command(0x27);
  command.PutU16(static_cast<uint32_t>(page));
  command.PutU16(static_cast<uint32_t>(palette));
  command.PutText(fileName);
  Enqueue(std::move(command));
}

void VBinaryOut::FillRect(int page, int b, WrdRect rect, int b2) {
  EnqueuePageRect(0x52, page, b, rect, b2);
}

void VBinaryOut::Move(int source, int destination, int b, WrdRect rect, WrdPoint point) {
  EnqueueMove(0, source, destination, b, rect, point);
}

void VBinaryOut::CopyPalette(int source, int destination) {
  auto command = Command(0x43);
  command.PutU16(static_cast<uint32_t>(source));
  command.PutU16(static_cast<uint32_t>(destination));
  Enqueue(std::move(command));
}

void VBinaryOut::BlendPalette(int first, int second, int destination, int p1, int p2, int p3,
                              int p4, int p5, int p6, int firstWeight, int secondWeight) {
  auto command = Command(0x42);
  command.PutU16(static_cast<uint32_t>(first));
  command.PutU16(static_cast<uint32_t>(second));
  command.PutU16(static_cast<uint32_t>(destination));
  for (int p : {p1, p2, p3, p4, p5, p6, firstWeight, secondWeight}) {
    command.PutU8(static_cast<uint32_t>(p));
  }
  Enqueue(std::move(command));
}

void VBinaryOut::ChangePalette(int id) {
  auto command = Command(0x31);
  command.PutU16(static_cast<uint32_t>(id));
  Enqueue(std::move(command));
}

void VBinaryOut::DrawText(int page, int b1, int b2, int colour, int b3, WrdPoint point,
                          const char* text) {
  auto command = Command(0x51);
  command.PutU16(static_cast<uint32_t>(page));
  command.PutU8(static_cast<uint32_t>(b1));
  command.PutU8(static_cast<uint32_t>(b2));
  command.PutU8(static_cast<uint32_t>(colour));
  command.PutU8(static_cast<uint32_t>(b3));
  command.PutPoint(point);
  command.PutText(text);
  Enqueue(std::move(command));
}

void VBinaryOut::DisplayPage(int page, WrdPoint point) {
  auto command = Command(0x35);
  command.PutU16(static_cast<uint32_t>(page));
  command.PutPoint(point);
  Enqueue(std::move(command));
}

void VBinaryOut::EnqueueIds(uint8_t opcode, const int32_t* ids, int n) {
  auto command = Command(opcode);
  for (size_t i = 0; i < Count(n); ++i) {
    command.PutU16(static_cast<uint32_t>(ids[i]));
  }
  Enqueue(std::move(command));
}

void VBinaryOut::AllocatePalettes(const int32_t* ids, int n) { EnqueueIds(0x21, ids, n); }

void VBinaryOut::Command22(int id) {
  int32_t ids[] = {id};
  EnqueueIds(0x22, ids, 1);
}

void VBinaryOut::Command22List(const int32_t* ids, int n) { EnqueueIds(0x22, ids, n); }

void VBinaryOut::Command26(int id) {
  int32_t ids[] = {id};
  EnqueueIds(0x26, ids, 1);
}

void VBinaryOut::Command26List(const int32_t* ids, int n) { EnqueueIds(0x26, ids, n); }

void VBinaryOut::Command36(int id, WrdPoint a, WrdPoint b, WrdPoint c) {
  auto command = Command(0x36);
  command.PutU16(static_cast<uint32_t>(id));
  command.PutPoint(a);
  command.PutPoint(b);
  command.PutPoint(c);
  Enqueue(std::move(command));
}

void VBinaryOut::Command44(int first, int second, const uint8_t* bytes32) {
  auto command = Command(0x44);
  command.PutU16(static_cast<uint32_t>(first));
  command.PutU16(static_cast<uint32_t>(second));
  command.PutBytes(bytes32, 32);
  Enqueue(std::move(command));
}

namespace {

VOutBuffer Layout54(int a, int b, int c, int d, int e, int f) {
  auto command = Command(0x54);
  command.PutU16(static_cast<uint32_t>(a));
  command.PutU8(static_cast<uint32_t>(b));
  command.PutU16(static_cast<uint32_t>(c));
  command.PutU16(static_cast<uint32_t>(d));
  command.PutU16(static_cast<uint32_t>(e));
  command.PutU8(static_cast<uint32_t>(f));
  return command;
}

}  // namespace

void VBinaryOut::Command54(int a, int b, int c, int d, int e, int f) {
  Enqueue(Layout54(a, b, c, d, e, f));
}

void VBinaryOut::Command54Second(int a, int b, int c, int d, int e, int f) {
  Enqueue(Layout54(a, b, c, d, e, f));
}

void VBinaryOut::Command55(int page, int b, WrdRect rect, int b2) {
  EnqueuePageRect(0x55, page, b, rect, b2);
}

void VBinaryOut::MoveMode1(int source, int destination, int b, WrdRect rect, WrdPoint point) {
  EnqueueMove(1, source, destination, b, rect, point);
}

// u16 page, u8, rect, u8: the layout of 52 and 55.
void VBinaryOut::EnqueuePageRect(uint8_t opcode, int page, int b, WrdRect rect, int b2) {
  auto command = Command(opcode);
  command.PutU16(static_cast<uint32_t>(page));
  command.PutU8(static_cast<uint32_t>(b));
  command.PutRect(rect);
  command.PutU8(static_cast<uint32_t>(b2));
  Enqueue(std::move(command));
}

// 61: u16 source, u16 destination, u8, u8 mode, rect, point.
void VBinaryOut::EnqueueMove(int mode, int source, int destination, int b, WrdRect rect,
                             WrdPoint point) {
  auto command = Command(0x61);
  command.PutU16(static_cast<uint32_t>(source));
  command.PutU16(static_cast<uint32_t>(destination));
  command.PutU8(static_cast<uint32_t>(b));
  command.PutU8(static_cast<uint32_t>(mode));
  command.PutRect(rect);
  command.PutPoint(point);
  Enqueue(std::move(command));
}

void VBinaryOut::MovePattern(int source, int destination, int b1, int b2, WrdRect rect,
                             WrdPoint point, PatternSize size, const uint8_t* pattern) {
  // Only the low bytes of the size are written, and the pattern bytes follow them, so a
  // reader can find the pattern's length from the record.
  uint8_t width = static_cast<uint8_t>(size.width);
  uint8_t height = static_cast<uint8_t>(size.height);
  auto command = Command(0x62);
  command.PutU16(static_cast<uint32_t>(source));
  command.PutU16(static_cast<uint32_t>(destination));
  command.PutU8(static_cast<uint32_t>(b1));
  command.PutU8(static_cast<uint32_t>(b2));
  command.PutRect(rect);
  command.PutPoint(point);
  command.PutU8(width);
  command.PutU8(height);
  command.PutBytes(pattern, static_cast<size_t>((width + 7) / 8) * height);
  Enqueue(std::move(command));
}

void VBinaryOut::Command72(int value, const char* text) {
  auto command = Command(0x72);
  command.PutU16(static_cast<uint32_t>(value));
  command.PutText(text);
  Enqueue(std::move(command));
}

void VBinaryOut::Command7F(const uint8_t* bytes, int n) { RawCommand(0x7F, bytes, n); }

void VBinaryOut::RawCommand(uint8_t opcode, const uint8_t* bytes, int n) {
  auto command = Command(opcode);
  command.PutBytes(bytes, Count(n));
  Enqueue(std::move(command));
}
