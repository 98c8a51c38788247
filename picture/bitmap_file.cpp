#include "picture/bitmap_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include "files/regular_file.h"
#include "picture/bmp_header.h"
#include "picture/bmp_rle.h"

bool BitmapFile::Load(const std::string& path) { return LoadFile(path, nullptr); }

bool BitmapFile::LoadHeaders(const std::string& path) {
  headers_only_ = true;
  const bool loaded = LoadFile(path, nullptr);
  headers_only_ = false;
  return loaded;
}

bool BitmapFile::Scan(const std::string& path, const RowBlock& rows) {
  return LoadFile(path, &rows);
}

bool BitmapFile::LoadFile(const std::string& path, const RowBlock* rows) {
  Clear();
  try {
    const RegularFile file(path);
    const uint64_t file_size = file.Size();
    // The fixed headers first, then as far as the headers and colour table reach.
    std::vector<uint8_t> head;
    uint64_t needed = std::min<uint64_t>(file_size, 54);
    while (head.size() < needed) {
      const size_t have = head.size();
      head.resize(needed);
      head.resize(have + file.ReadAt(have, head.data() + have, needed - have));
      if (head.size() < needed) break;  // the file shrank meanwhile: it is judged as it is
      needed = BmpHeadBytes(head, file_size);
    }
    const ReadBytes read = [&file](uint64_t offset, uint8_t* to, size_t size) {
      const size_t got = file.ReadAt(offset, to, size);
      if (got < size) {
        throw BmpFormatError("ピクセルデータの途中でファイルが終わっています", offset + got);
      }
    };
    if (!LoadParsed(head, std::max<uint64_t>(file_size, head.size()), read, rows)) {
      error_ = path + ": " + error_;
      return false;
    }
    return true;
  } catch (const FileReadError& error) {
    return Fail(error);
  }
}

bool BitmapFile::LoadFromMemory(std::span<const uint8_t> file) {
  const ReadBytes read = [file](uint64_t offset, uint8_t* to, size_t size) {
    if (size > 0) std::memcpy(to, file.data() + offset, size);  // callers keep inside the file
  };
  return LoadParsed(file, file.size(), read);
}

bool BitmapFile::LoadParsed(std::span<const uint8_t> head, uint64_t file_size,
                            const ReadBytes& read, const RowBlock* rows) {
  Clear();
  try {
    const BmpHeader header = ReadBmpHeader(head);
    // Set before the pixels are read: a scan's receiver may ask for them.
    bit_count_ = header.bit_count;
    width_ = header.width;
    height_ = header.rows;
    stride_ = header.Stride();
    bottom_up_ = header.bottom_up;
    if (header.Paletted()) {
      if (header.pixel_offset > file_size) {
        throw BmpFormatError("ピクセルデータの位置 " + std::to_string(header.pixel_offset) +
                                 " がファイルの終わりより後ろです",
                             10);
      }
      const size_t entries = header.FilePaletteEntries();
      if (head.size() - header.PaletteOffset() < entries * 4) {
        throw BmpFormatError("カラーテーブルの途中でファイルが終わっています", head.size());
      }
      const uint64_t available = file_size - header.pixel_offset;
      const size_t size = static_cast<size_t>(header.Stride()) * static_cast<size_t>(header.rows);
      palette_.assign((size_t{1} << header.bit_count) * 4, 0);  // missing entries stay black
      std::copy_n(head.begin() + header.PaletteOffset(), entries * 4, palette_.begin());
      if (headers_only_) return true;
      if (header.compression == BmpHeader::kRgb) {
        // Checked before the buffer is allocated, so that a short file cannot claim gigabytes.
        if (available < header.PixelBytesNeeded()) {
          throw BmpFormatError("ピクセルデータの途中でファイルが終わっています", file_size);
        }
        if (rows != nullptr) {
          ScanRows(header.pixel_offset, available, header.rows,
                   static_cast<size_t>(header.Stride()), read, *rows);
        } else {
          AllocatePixels(size);
          // The last row may lack its padding; the pixels are all there.
          const size_t stored = static_cast<size_t>(std::min<uint64_t>(available, size));
          read(header.pixel_offset, pixels_.get(), stored);
          std::fill(pixels_.get() + stored, pixels_.get() + size, uint8_t{0});
        }
      } else {
        // Checked before the buffer is allocated: a few bytes of runs cannot claim gigabytes.
        CheckRle8Covers(header, available);
        std::vector<uint8_t> data(static_cast<size_t>(std::min(available, MaxRle8Bytes(header))));
        read(header.pixel_offset, data.data(), data.size());
        std::fill_n(AllocatePixels(size), size, uint8_t{0});  // skipped pixels are index 0
        try {
          DecodeRle8(data, header.rows, header.Stride(), pixels_.get());
        } catch (BmpFormatError& e) {
          e.WithOffset(header.pixel_offset + e.Offset());  // from the start of the runs
          throw;
        }
        if (rows != nullptr) (*rows)(pixels_.get(), header.rows);
      }
    }
    return true;
  } catch (const BmpFormatError& e) {
    return Fail(e);
  } catch (const std::bad_alloc&) {
    return Fail(VwrdError("画像を読み込むメモリが足りません"));
  }
}

void BitmapFile::ScanRows(uint64_t offset, uint64_t available, int32_t height, size_t stride,
                          const ReadBytes& read, const RowBlock& rows) {
  // About 64 KiB at a time: the block stays in the processor's cache while it is looked at.
  const int32_t perBlock = static_cast<int32_t>(std::max<size_t>(1, (64 * 1024) / stride));
  uint8_t* block = AllocatePixels(static_cast<size_t>(perBlock) * stride);
  // Row() has no picture to give: the buffer is kept for the next load.
  spare_ = std::move(pixels_);
  spare_size_ = pixels_size_;
  pixels_size_ = 0;
  for (int32_t done = 0; done < height;) {
    const int32_t count = std::min(perBlock, height - done);
    const uint64_t at = static_cast<uint64_t>(done) * stride;
    const size_t size = static_cast<size_t>(count) * stride;
    // The last row may lack its padding; the pixels are all there.
    const auto stored = static_cast<size_t>(std::min<uint64_t>(available - at, size));
    read(offset + at, block, stored);
    std::fill(block + stored, block + size, uint8_t{0});
    if (!rows(block, count)) return;
    done += count;
  }
}

const uint8_t* BitmapFile::Row(int32_t y) const {
  if (pixels_ == nullptr) return nullptr;
  const int32_t stored = bottom_up_ ? height_ - 1 - y : y;
  return pixels_.get() + static_cast<size_t>(stored) * static_cast<size_t>(stride_);
}

int BitmapFile::ColorCount() const {
  if (bit_count_ == 0) return 0;
  return bit_count_ >= 31 ? INT_MAX : 1 << bit_count_;
}

template <typename Error>
bool BitmapFile::Fail(const Error& error) {
  Clear();
  error_ = error.what();
  failure_ = std::make_unique<Error>(error);
  return false;
}

void BitmapFile::Clear() {
  bit_count_ = 0;
  width_ = height_ = stride_ = 0;
  bottom_up_ = true;
  palette_.clear();
  palette_.shrink_to_fit();
  if (pixels_ != nullptr && pixels_size_ >= spare_size_) {
    spare_ = std::move(pixels_);
    spare_size_ = pixels_size_;
  }
  pixels_.reset();
  pixels_size_ = 0;
  error_.clear();
  failure_.reset();
}

uint8_t* BitmapFile::AllocatePixels(size_t size) {
  if (spare_ != nullptr && spare_size_ >= size) {
    pixels_ = std::move(spare_);
    pixels_size_ = spare_size_;
  } else {
    spare_.reset();  // freed before the larger one is taken
    pixels_ = std::make_unique_for_overwrite<uint8_t[]>(size);
    pixels_size_ = size;
  }
  spare_size_ = 0;
  return pixels_.get();
}
