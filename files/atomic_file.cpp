#include "files/atomic_file.h"

#include <unistd.h>

#include <cerrno>

AtomicFile::AtomicFile(const std::string& path, Durability durability,
                       FileReplacement::Temporary temporary, Links links)
    : path_(path), file_(path, durability, temporary, links) {
  // The stream closes a descriptor of its own; the replacement keeps the one it links.
  const int fd = ::dup(file_.Descriptor());
  if (fd < 0) throw FileWriteError(path + ": 書き込めません (" + ErrnoText(errno) + ")");
  buffer_ = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(fd, std::ios::out | std::ios::binary);
  stream_.rdbuf(buffer_.get());
}

AtomicFile::~AtomicFile() = default;

void AtomicFile::Close() {
  if (!closed_) {
    closed_ = true;
    stream_.flush();
    const bool written = static_cast<bool>(stream_) && buffer_->close() != nullptr;
    const int error = errno;
    if (!written) {
      failure_ = path_ + ": 書き込めません (" + ErrnoText(error != 0 ? error : EIO) + ")";
    }
  }
  // Said again on every call: a file that failed is never committed.
  if (!failure_.empty()) throw FileWriteError(failure_);
}

void AtomicFile::Commit() {
  Close();
  file_.Commit();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::Durability durability, AtomicFile::Links links) {
  AtomicFile file(path, durability, FileReplacement::Temporary::kUnnamedWhereOffered, links);
  file.Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.Commit();
}
