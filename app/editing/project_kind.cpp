#include "app/editing/project_kind.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/document/atomic_file.h"
#include "app/document/project_file.h"
#include "app/document/text_mode.h"

namespace {

std::optional<std::string> ReadBytes(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

bool LooksLikeProject(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (bytes.find('\0') != std::string_view::npos) return false;
  const std::string text = FromTextMode(bytes);
  return text.starts_with('@') || text.find("\n@") != std::string::npos;
}

ProjectLoad LoadProjectFile(const std::string& path, EventTable& table) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) return ProjectLoad::kMissing;
  if (!LooksLikeProject(*bytes)) return ProjectLoad::kNotAProject;
  ParseProject(*bytes, table);
  return ProjectLoad::kLoaded;
}

void KeepBackup(const std::string& path) {
  const std::optional<std::string> bytes = ReadBytes(path);
  if (!bytes) return;
  WriteFileAtomically(path + ".bak", *bytes);
}
