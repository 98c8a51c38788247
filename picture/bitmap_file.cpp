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

// Reads up to `size` bytes at `offset`; returns how many it got (fewer at the end of the file)
// or -1 with errno set.
int64_t ReadAt(int fd, uint64_t offset, uint8_t* to, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, to + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<int64_t>(done);
}

std::string Reason() { return std::strerror(errno); }

}  // namespace

bool BitmapFile::Load(const std::string& path) {
  Clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return Fail("cannot open " + path + ": " + Reason());
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) return Fail("cannot examine " + path + ": " + Reason());
  if (!S_ISREG(info.st_mode)) return Fail(path + " is not a regular file");
  const auto file_size = static_cast<uint64_t>(info.st_size);

  // The fixed headers first, then as far as the headers and colour table reach.
  std::vector<uint8_t> head;
  uint64_t needed = std::min<uint64_t>(file_size, 54);
  while (head.size() < needed) {
    const size_t have = head.size();
    head.resize(needed);
    const int64_t got = ReadAt(fd.Get(), have, head.data() + have, needed - have);
    if (got < 0) return Fail("cannot read " + path + ": " + Reason());
    head.resize(have + static_cast<size_t>(got));
    if (head.size() < needed) break;  // the file shrank meanwhile: it is judged as it is
    needed = BmpHeadBytes(head, file_size);
  }
  const ReadBytes read = [&fd](uint64_t offset, uint8_t* to, size_t size) {
    const int64_t got = ReadAt(fd.Get(), offset, to, size);
    if (got < 0) throw BmpFormatError("cannot read the pixel data: " + Reason());
    if (static_cast<size_t>(got) < size)
      throw BmpFormatError("the file ends inside its pixel data");
  };
  if (!LoadParsed(head, std::max<uint64_t>(file_size, head.size()), read)) {
    error_ = path + ": " + error_;
    return false;
  }
  return true;
}

bool BitmapFile::LoadFromMemory(std::span<const uint8_t> file) {
  const ReadBytes read = [file](uint64_t offset, uint8_t* to, size_t size) {
    if (size > 0) std::memcpy(to, file.data() + offset, size);  // callers keep inside the file
  };
  return LoadParsed(file, file.size(), read);
}

bool BitmapFile::LoadParsed(std::span<const uint8_t> head, uint64_t file_size,
                            const ReadBytes& read) {
  Clear();
  try {
    const BmpHeader header = ReadBmpHeader(head);
    if (header.Paletted()) {
      if (header.pixel_offset > file_size) {
        throw BmpFormatError("pixel data offset " + std::to_string(header.pixel_offset) +
                             " lies past the end of the file");
      }
      const size_t entries = header.FilePaletteEntries();
      if (head.size() - header.PaletteOffset() < entries * 4) {
        throw BmpFormatError("the file ends inside its colour table");
      }
      const uint64_t available = file_size - header.pixel_offset;
      const size_t size = static_cast<size_t>(header.Stride()) * static_cast<size_t>(header.rows);
      palette_.assign((size_t{1} << header.bit_count) * 4, 0);  // missing entries stay black
      std::copy_n(head.begin() + header.PaletteOffset(), entries * 4, palette_.begin());
      if (header.compression == BmpHeader::kRgb) {
        // Checked before the buffer is allocated, so that a short file cannot claim gigabytes.
        if (available < header.PixelBytesNeeded()) {
          throw BmpFormatError("the file ends inside its pixel data");
        }
        pixels_ = std::make_unique_for_overwrite<uint8_t[]>(size);
        // The last row may lack its padding; the pixels are all there.
        const size_t stored = static_cast<size_t>(std::min<uint64_t>(available, size));
        read(header.pixel_offset, pixels_.get(), stored);
        std::fill(pixels_.get() + stored, pixels_.get() + size, uint8_t{0});
      } else {
        std::vector<uint8_t> data(static_cast<size_t>(std::min(available, MaxRle8Bytes(header))));
        read(header.pixel_offset, data.data(), data.size());
        pixels_ = std::make_unique<uint8_t[]>(size);  // skipped pixels are index 0
        DecodeRle8(data, header.rows, header.Stride(), pixels_.get());
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
  if (pixels_ == nullptr) return nullptr;
  const int32_t stored = bottom_up_ ? height_ - 1 - y : y;
  return pixels_.get() + static_cast<size_t>(stored) * static_cast<size_t>(stride_);
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
  pixels_.reset();
  error_.clear();
}
