// DescribeRecord: one readable line per VNL record.
#include <cstdio>
#include <string>

#include "text/shift_jis.h"
#include "wrd/opcodes.h"
#include "wrd/vnl_reader.h"

namespace {

// Reads the fields of a payload in order; reading past the end marks the reader as failed
// (the caller then falls back to the raw form).
class Fields {
 public:
  explicit Fields(const std::vector<uint8_t>& payload) : payload_(&payload) {}

  size_t Remaining() const { return payload_->size() - offset_; }
  bool Ok() const { return ok_; }

  int U8() {
    if (Remaining() < 1) {
      ok_ = false;
      return 0;
    }
    return (*payload_)[offset_++];
  }
  // u16 fields hold identifiers and coordinates as 16-bit two's complement.
  int S16() {
    if (Remaining() < 2) {
      ok_ = false;
      offset_ = payload_->size();
      return 0;
    }
    int value = static_cast<int16_t>((*payload_)[offset_] | (*payload_)[offset_ + 1] << 8);
    offset_ += 2;
    return value;
  }
  int U16() { return static_cast<uint16_t>(S16()); }
  std::string Point() {
    int x = S16();
    int y = S16();
    return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
  }
  std::string Rect() {
    int x1 = S16();
    int y1 = S16();
    int x2 = S16();
    int y2 = S16();
    return "(" + std::to_string(x1) + "," + std::to_string(y1) + ")-(" + std::to_string(x2) + "," +
           std::to_string(y2) + ")";
  }
  // The rest of the payload as a quoted text.
  std::string Text();

 private:
  const std::vector<uint8_t>* payload_;
  size_t offset_ = 0;
  bool ok_ = true;
};

std::string Hex(uint8_t byte) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", byte);
  return text;
}

std::string Fields::Text() {
  std::string out = "\"";
  while (offset_ < payload_->size()) {
    uint8_t byte = (*payload_)[offset_++];
    // The second byte of a double-byte character may be a backslash: keep pairs together.
    if (IsShiftJisLead(byte) && offset_ < payload_->size()) {
      out += static_cast<char>(byte);
      out += static_cast<char>((*payload_)[offset_++]);
    } else if (byte < 0x20 || byte == 0x7F || byte == '"' || byte == '\\') {
      out += "\\x" + Hex(byte);
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out + "\"";
}

std::string Raw(const VnlRecord& record) {
  std::string out = "opcode " + Hex(record.opcode) + ":";
  if (record.payload.empty()) {
    return out + " (no payload)";
  }
  for (uint8_t byte : record.payload) {
    out += " " + Hex(byte);
  }
  return out;
}

std::string Join(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& part : parts) {
    out += out.empty() ? part : ", " + part;
  }
  return out;
}

// Reads one colour as red, green, blue.
std::string Colour(Fields& in) {
  std::string red = Hex(in.U8());
  std::string green = Hex(in.U8());
  return red + green + Hex(in.U8());
}

// Palette entries in runs: "[0..255] FFFFFF" for consecutive indexes of one colour.
std::string PaletteEntries(Fields& in) {
  std::string out;
  while (in.Remaining() >= 4) {
    int first = in.U8();
    std::string colour = Colour(in);
    int last = first;
    for (;;) {
      Fields probe = in;
      if (probe.Remaining() < 4 || probe.U8() != last + 1 || Colour(probe) != colour) {
        break;
      }
      in = probe;
      ++last;
    }
    std::string range =
        "[" + std::to_string(first) + (last > first ? ".." + std::to_string(last) : "") + "]";
    out += ", " + range + " " + colour;
  }
  return out;
}

// The build's commands; returns "" when the payload does not fit the command's layout.
std::string Decode(const VnlRecord& record) {
  Fields in(record.payload);
  auto n = [](int value) { return std::to_string(value); };
  std::string line;
  size_t size = record.payload.size();
  switch (record.opcode) {
    case wrd_opcode::kEnd:
      line = "EndBlock()";
      break;
    case wrd_opcode::kStart:
      line = "Start()";
      break;
    case wrd_opcode::kAllocatePalette:
      if (record.block == 0) {
        line = size == 2 ? "SetTimebase(" + n(in.U16()) + ")" : "";
      } else if (size >= 2 && size % 2 == 0) {
        line = "AllocatePalette(";
        for (size_t i = 0; i < size / 2; ++i) {
          line += (i ? ", " : "") + n(in.S16());
        }
        line += ")";
      }
      break;
    case wrd_opcode::kAllocatePage:
      if (size >= 7 && size % 7 == 0) {
        line = "AllocatePage(";
        for (size_t i = 0; i < size / 7; ++i) {
          int id = in.S16();
          int width = in.U16();
          int height = in.U16();
          line += (i ? ", {" : "{") + Join({n(id), n(width), n(height), n(in.U8())}) + "}";
        }
        line += ")";
      }
      break;
    case wrd_opcode::kLoadPicture:
      if (size >= 4) {
        int page = in.S16();
        int palette = in.S16();
        line = "LoadPicture(" + Join({n(page), n(palette), in.Text()}) + ")";
      }
      break;
    case wrd_opcode::kChangePalette:
      line = size == 2 ? "ChangePalette(" + n(in.S16()) + ")" : "";
      break;
    case wrd_opcode::kDisplayPage:
      if (size == 6) {
        int page = in.S16();
        line = "DisplayPage(" + Join({n(page), in.Point()}) + ")";
      }
      break;
    case wrd_opcode::kSetPalette:
      if (size >= 2 && (size - 2) % 4 == 0) {
        int id = in.S16();
        line = "SetPalette(" + n(id) + PaletteEntries(in) + ")";
      }
      break;
    case wrd_opcode::kBlendPalette:
      if (size == 14) {
        int first = in.S16();
        int second = in.S16();
        int destination = in.S16();
        line = "BlendPalette(" + Join({n(first), n(second), n(destination)});
        for (int i = 0; i < 8; ++i) {
          line += ", " + n(in.U8());
        }
        line += ")";
      }
      break;
    case wrd_opcode::kCopyPalette:
      if (size == 4) {
        int source = in.S16();
        line = "CopyPalette(" + Join({n(source), n(in.S16())}) + ")";
      }
      break;
    case wrd_opcode::kDrawText:
      if (size >= 10) {
        int page = in.S16();
        int b1 = in.U8();
        int b2 = in.U8();
        int colour = in.U8();
        int b3 = in.U8();
        std::string point = in.Point();
        line =
            "DrawText(" + Join({n(page), n(b1), n(b2), n(colour), n(b3), point, in.Text()}) + ")";
      }
      break;
    case wrd_opcode::kFillRect:
      if (size == 12) {
        int page = in.S16();
        int b = in.U8();
        std::string rect = in.Rect();
        line = "FillRect(" + Join({n(page), n(b), rect, n(in.U8())}) + ")";
      }
      break;
    case wrd_opcode::kMove:
      if (size == 18) {
        int source = in.S16();
        int destination = in.S16();
        int b = in.U8();
        int mode = in.U8();
        std::string rect = in.Rect();
        line = "Move(" + Join({n(source), n(destination), n(b), n(mode), rect, in.Point()}) + ")";
      }
      break;
    case wrd_opcode::kTitle:
      line = "SetTitle(" + in.Text() + ")";
      break;
  }
  return in.Ok() ? line : "";
}

}  // namespace

std::string DescribeRecord(const VnlRecord& record) {
  std::string line = Decode(record);
  return line.empty() ? Raw(record) : line;
}
