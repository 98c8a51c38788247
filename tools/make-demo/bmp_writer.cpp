#include "tools/make-demo/bmp_writer.h"

namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(char(value & 0xFF));
  out.push_back(char(value >> 8 & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string BmpBytes(const IndexedImage& image) {
  const uint32_t stride = (uint32_t(image.width) * 8 + 31) / 32 * 4;
  const uint32_t pixel_offset = 14 + 40 + 256 * 4;
  const uint32_t pixel_size = stride * uint32_t(image.height);
  std::string out;
  out += "BM";
  Put32(out, pixel_offset + pixel_size);
  Put32(out, 0);  // two reserved words
  Put32(out, pixel_offset);
  Put32(out, 40);
  Put32(out, uint32_t(image.width));
  Put32(out, uint32_t(image.height));  // positive: bottom-up
  Put16(out, 1);                       // planes
  Put16(out, 8);                       // bits per pixel
  Put32(out, 0);                       // no compression
  Put32(out, pixel_size);
  Put32(out, 2835);  // 72 dots per inch, in pixels per metre
  Put32(out, 2835);
  Put32(out, 256);  // colours used
  Put32(out, 0);    // all colours important
  for (const IndexedImage::Colour& colour : image.palette) {
    out.push_back(char(colour.blue));
    out.push_back(char(colour.green));
    out.push_back(char(colour.red));
    out.push_back(0);
  }
  for (int y = image.height - 1; y >= 0; --y) {
    out.append(reinterpret_cast<const char*>(image.pixels.data()) + size_t(y) * image.width,
               size_t(image.width));
    out.append(stride - uint32_t(image.width), '\0');
  }
  return out;
}
