#include "picture/bitmap_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "picture/bmp_header.h"
#include "picture/bmp_rle.h"

namespace {

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Reads bytes [from, to) of the file into `bytes`, which then holds bytes [0, to). Returns
// false with errno set on a read error; a file that shrank leaves `bytes` shorter.
bool ReadRange(int fd, uint64_t from, uint64_t to, std::vector<uint8_t>& bytes) {
  bytes.resize(to);
  uint64_t at = from;
  while (at < to) {
    const ssize_t got = ::pread(fd, bytes.data() + at, to - at, static_cast<off_t>(at));
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    at += static_cast<uint64_t>(got);
  }
  bytes.resize(at);
  return true;
}

std::string Reason(const std::string& path) { return path + ": " + std::strerror(errno); }

}  // namespace

bool BitmapFile::Load(const std::string& path) {
  Clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return Fail("cannot open " + Reason(path));
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return Fail("cannot examine " + Reason(path));
  if (!S_ISREG(info.st_mode)) return Fail(path + " is not a regular file");
  const auto file_size = static_cast<uint64_t>(info.st_size);

  // Read the fixed headers first, then only as far as the headers say the picture reaches.
  std::vector<uint8_t> bytes;
  uint64_t needed = std::min<uint64_t>(file_size, 54);
  try {
    while (bytes.size() < needed) {
      if (!ReadRange(fd.Get(), bytes.size(), needed, bytes)) {
        return Fail("cannot read " + Reason(path));
      }
      if (bytes.size() < needed) break;  // the file shrank meanwhile: it is judged as it is
      needed = BmpBytesNeeded(bytes, file_size);
    }
  } catch (const std::bad_alloc&) {
    return Fail(path + ": not enough memory to read the file");
  }
  if (!LoadFromMemory(bytes)) {
    error_ = path + ": " + error_;
    return false;
  }
  return true;
}

bool BitmapFile::LoadFromMemory(std::span<const uint8_t> file) {
  Clear();
  try {
    const BmpHeader header = ReadBmpHeader(file);
    if (header.Paletted()) {
      if (header.pixel_offset > file.size()) {
        throw BmpFormatError("pixel data offset " + std::to_string(header.pixel_offset) +
                             " lies past the end of the file");
      }
      const size_t colors = size_t{1} << header.bit_count;
      const size_t entries = header.FilePaletteEntries();
      if (file.size() - header.PaletteOffset() < entries * 4) {
        throw BmpFormatError("the file ends inside its colour table");
      }
      const size_t stride = static_cast<size_t>(header.Stride());
      const size_t rows = static_cast<size_t>(header.rows);
      const std::span<const uint8_t> data = file.subspan(header.pixel_offset);
      if (header.compression == BmpHeader::kRgb &&
          data.size() < stride * (rows - 1) + static_cast<size_t>(header.RowBytes())) {
        // Checked before the buffer is allocated, so that a short file cannot claim gigabytes.
        throw BmpFormatError("the file ends inside its pixel data");
      }
      palette_.assign(colors * 4, 0);  // entries the file does not give stay black
      std::copy_n(file.begin() + header.PaletteOffset(), entries * 4, palette_.begin());
      if (header.compression == BmpHeader::kRgb) {
        // The last row may lack its padding; the pixels are all there.
        pixels_.resize(stride * rows);
        std::copy_n(data.begin(), std::min(data.size(), pixels_.size()), pixels_.begin());
      } else {
        pixels_.assign(stride * rows, 0);
        DecodeRle8(data, header.rows, header.Stride(), pixels_.data());
      }
    }
    bit_count_ = header.bit_count;
    width_ = header.width;
    height_ = header.rows;
    stride_ = header.Stride();
    bottom_up_ = header.bottom_up;
    return true;
  } catch (const BmpFormatError& e) {
    return Fail(e.what());
  } catch (const std::bad_alloc&) {
    return Fail("not enough memory for the picture");
  }
}

const uint8_t* BitmapFile::Row(int32_t y) const {
  if (pixels_.empty()) return nullptr;
  const int32_t stored = bottom_up_ ? height_ - 1 - y : y;
  return pixels_.data() + static_cast<size_t>(stored) * static_cast<size_t>(stride_);
}

int BitmapFile::ColorCount() const {
  if (bit_count_ == 0) return 0;
  return bit_count_ >= 31 ? INT_MAX : 1 << bit_count_;
}

bool BitmapFile::Fail(std::string text) {
  Clear();
  error_ = std::move(text);
  return false;
}

void BitmapFile::Clear() {
  bit_count_ = 0;
  width_ = height_ = stride_ = 0;
  bottom_up_ = true;
  palette_.clear();
  palette_.shrink_to_fit();
  pixels_.clear();
  pixels_.shrink_to_fit();
  error_.clear();
}
