#include "lyrics/lyric_text_reader.h"

#include <algorithm>
#include <cctype>

#include "text/shift_jis.h"

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

size_t LyricTextReader::CharLength(std::string_view bytes, size_t at) const {
  // Marks are ASCII: in UTF-8 and Latin-1 no byte of another character is one.
  return encoding_ == TextEncoding::kCp932 ? ShiftJisCharLength(bytes, at) : 1;
}

size_t LyricTextReader::Find(std::string_view bytes, size_t at, char close) const {
  while (at < bytes.size()) {
    if (bytes[at] == close) return at;
    at += CharLength(bytes, at);
  }
  return std::string_view::npos;
}

void LyricTextReader::Header(std::string_view bytes) {
  if (bytes.size() < 2 || (bytes[1] != 'T' && bytes[1] != 't')) return;
  std::string text = TextToCp932(bytes.substr(2), encoding_, &replaced_, conversion_);
  if (text.empty()) return;
  if (title_.empty()) {
    title_ = std::move(text);
  } else if (author_.empty()) {
    author_ = std::move(text);
  }
}

void LyricTextReader::Information(std::string_view content) {
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) return;
  const std::string key = Upper(content.substr(0, equals));
  std::string value = TextToCp932(content.substr(equals + 1), encoding_, &replaced_, conversion_);
  if (value.empty()) return;
  if (key == "TITLE" && title_.empty()) title_ = std::move(value);
  static const char* const kAuthors[] = {"ARTIST", "AUTHOR", "COMPOSER", "LYRICIST", "WRITER"};
  if (std::find(std::begin(kAuthors), std::end(kAuthors), key) != std::end(kAuthors) &&
      author_.empty()) {
    author_ = std::move(value);
  }
}

void LyricTextReader::Directive(std::string_view content) {
  if (content.empty()) return;
  if (content[0] == '#') {
    Information(content.substr(1));
    return;
  }
  if (content[0] != '@') return;
  const std::string name = Upper(content.substr(1));
  if (name == "LATIN") {
    encoding_ = TextEncoding::kLatin1;
  } else if (name == "JP") {
    encoding_ = TextEncoding::kCp932;
  } else if (name == "UTF-8" || name == "UTF8" || name == "UNICODE") {
    encoding_ = TextEncoding::kUtf8;
  } else {
    ++unknown_;  // the texts stay in the encoding they had
  }
}

void LyricTextReader::Break(bool page) {
  if (page) {
    page_ = true;
  } else {
    line_ = true;
  }
}

void LyricTextReader::Flush(int64_t tick) {
  if (text_.empty()) return;
  syllables_.push_back({tick, -1, std::move(text_), line_ || page_, page_});
  text_.clear();
  line_ = page_ = false;
}

void LyricTextReader::Read(int64_t tick, std::string_view bytes) {
  if (bytes.empty()) {
    ++empty_;
    return;
  }
  if (bytes[0] == '@') return Header(bytes);
  if (bytes[0] == '%') return;  // a chord name
  size_t run = 0;               // where the bytes not yet converted start
  auto convert = [&](size_t end) {
    if (end <= run) return;
    std::string text =
        TextToCp932(bytes.substr(run, end - run), encoding_, &replaced_, conversion_);
    // A control byte that a broken double-byte character hid (a lead byte before CR): it shows
    // nothing, and must not end a line. No byte of a CP932 character is below 0x20.
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    text_ += text;
  };
  // A mark ends the syllable before it: the text after it is a syllable of its own.
  auto mark = [&](size_t at, size_t next, bool page) {
    convert(at);
    Flush(tick);
    Break(page);
    run = next;
  };
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = CharLength(bytes, at);
    const char c = length == 1 ? bytes[at] : '\0';
    size_t next = at + length;
    if (c == '{' || c == '[') {
      const size_t close = Find(bytes, at + 1, c == '{' ? '}' : ']');
      next = close == std::string_view::npos ? bytes.size() : close + 1;
      convert(at);
      if (c == '{' && close != std::string_view::npos) {
        Directive(bytes.substr(at + 1, close - at - 1));
      }
      run = next;
    } else if (c == '/' || c == '\r') {
      mark(at, next, false);
    } else if (c == '\\' || c == '\n' || (c == '<' && encoding_ == TextEncoding::kCp932)) {
      mark(at, next, true);
    } else if (c == '\t') {
      convert(at);
      text_ += ' ';
      run = next;
    } else if (length == 1 && static_cast<unsigned char>(c) < 0x20) {
      convert(at);  // other control characters show nothing
      run = next;
    }
    at = next;
  }
  convert(bytes.size());
  Flush(tick);
}
