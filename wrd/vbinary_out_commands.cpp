// The command emitters of VBinaryOut: each builds one record's payload and queues it.
#include <memory>

#include "wrd/opcodes.h"
#include "wrd/vbinary_out.h"

namespace {

VOutBuffer Command(uint8_t opcode) { return VOutBuffer(opcode); }

size_t Count(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

// Writes the low 16 bits, low byte first; returns the position after them.
uint8_t* PutU16(uint8_t* out, int value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> 8);
  return out + 2;
}

}  // namespace

void VBinaryOut::SetTitle(const char* text) {
  EnqueueFixed(wrd_opcode::kTitle, FixedRecord<1>(), text);
}

void VBinaryOut::SetTimebase(int value) {
  FixedRecord<2> record;
  record.PutU16(static_cast<uint32_t>(value));
  EnqueueFixed(wrd_opcode::kAllocatePalette, record);  // the same opcode as AllocatePalette
}

void VBinaryOut::Command71(int first, int second) {
  FixedRecord<4> record;
  record.PutU16(static_cast<uint32_t>(first));
  record.PutU16(static_cast<uint32_t>(second));
  EnqueueFixed(wrd_opcode::kTitle, record);
}

void VBinaryOut::AllocatePage(const PageDescriptor* pages, int n) {
  auto command = Command(wrd_opcode::kAllocatePage);
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
  FixedRecord<2> record;
  record.PutU16(static_cast<uint32_t>(id));
  EnqueueFixed(wrd_opcode::kAllocatePalette, record);
}

void VBinaryOut::SetPalette(int id, const uint8_t* entries, int n) {
  FixedRecord<2> record;
  record.PutU16(static_cast<uint32_t>(id));
  EnqueueRecord(wrd_opcode::kSetPalette, record.Data(), record.Length(), entries, Count(n) * 4);
}

void VBinaryOut::LoadPicture(int page, int palette, const char* fileName) {
  FixedRecord<4> record;
  record.PutU16(static_cast<uint32_t>(page));
  record.PutU16(static_cast<uint32_t>(palette));
  EnqueueFixed(wrd_opcode::kLoadPicture, record, fileName);
}

void VBinaryOut::FillRect(int page, int b, WrdRect rect, int b2) {
  EnqueuePageRect(wrd_opcode::kFillRect, page, b, rect, b2);
}

void VBinaryOut::Move(int source, int destination, int b, WrdRect rect, WrdPoint point) {
  EnqueueMove(0, source, destination, b, rect, point);
}

void VBinaryOut::CopyPalette(int source, int destination) {
  FixedRecord<4> record;
  record.PutU16(static_cast<uint32_t>(source));
  record.PutU16(static_cast<uint32_t>(destination));
  EnqueueFixed(wrd_opcode::kCopyPalette, record);
}

// A build queues two of these per fade step, tens of thousands in all: they are written straight
// into the writer's record store.
void VBinaryOut::BlendPalette(int first, int second, int destination, int p1, int p2, int p3,
                              int p4, int p5, int p6, int firstWeight, int secondWeight) {
  uint8_t* out = NewRecord(wrd_opcode::kBlendPalette, 14);
  out = PutU16(out, first);
  out = PutU16(out, second);
  out = PutU16(out, destination);
  out[0] = static_cast<uint8_t>(p1);
  out[1] = static_cast<uint8_t>(p2);
  out[2] = static_cast<uint8_t>(p3);
  out[3] = static_cast<uint8_t>(p4);
  out[4] = static_cast<uint8_t>(p5);
  out[5] = static_cast<uint8_t>(p6);
  out[6] = static_cast<uint8_t>(firstWeight);
  out[7] = static_cast<uint8_t>(secondWeight);
}

void VBinaryOut::ChangePalette(int id) { PutU16(NewRecord(wrd_opcode::kChangePalette, 2), id); }

void VBinaryOut::DrawText(int page, int b1, int b2, int colour, int b3, WrdPoint point,
                          const char* text) {
  FixedRecord<10> record;
  record.PutU16(static_cast<uint32_t>(page));
  record.PutU8(static_cast<uint32_t>(b1));
  record.PutU8(static_cast<uint32_t>(b2));
  record.PutU8(static_cast<uint32_t>(colour));
  record.PutU8(static_cast<uint32_t>(b3));
  record.PutPoint(point);
  EnqueueFixed(wrd_opcode::kDrawText, record, text);
}

void VBinaryOut::DisplayPage(int page, WrdPoint point) {
  FixedRecord<6> record;
  record.PutU16(static_cast<uint32_t>(page));
  record.PutPoint(point);
  EnqueueFixed(wrd_opcode::kDisplayPage, record);
}

void VBinaryOut::EnqueueIds(uint8_t opcode, const int32_t* ids, int n) {
  auto command = Command(opcode);
  for (size_t i = 0; i < Count(n); ++i) {
    command.PutU16(static_cast<uint32_t>(ids[i]));
  }
  Enqueue(std::move(command));
}

void VBinaryOut::AllocatePalettes(const int32_t* ids, int n) {
  EnqueueIds(wrd_opcode::kAllocatePalette, ids, n);
}

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
  FixedRecord<12> record;
  record.PutU16(static_cast<uint32_t>(page));
  record.PutU8(static_cast<uint32_t>(b));
  record.PutRect(rect);
  record.PutU8(static_cast<uint32_t>(b2));
  EnqueueFixed(opcode, record);
}

// 61: u16 source, u16 destination, u8, u8 mode, rect, point.
void VBinaryOut::EnqueueMove(int mode, int source, int destination, int b, WrdRect rect,
                             WrdPoint point) {
  FixedRecord<18> record;
  record.PutU16(static_cast<uint32_t>(source));
  record.PutU16(static_cast<uint32_t>(destination));
  record.PutU8(static_cast<uint32_t>(b));
  record.PutU8(static_cast<uint32_t>(mode));
  record.PutRect(rect);
  record.PutPoint(point);
  EnqueueFixed(wrd_opcode::kMove, record);
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
  FixedRecord<2> record;
  record.PutU16(static_cast<uint32_t>(value));
  EnqueueFixed(0x72, record, text);
}

void VBinaryOut::Command7F(const uint8_t* bytes, int n) { RawCommand(0x7F, bytes, n); }

void VBinaryOut::RawCommand(uint8_t opcode, const uint8_t* bytes, int n) {
  EnqueueRecord(opcode, nullptr, 0, bytes, Count(n));
}
