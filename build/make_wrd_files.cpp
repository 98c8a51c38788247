#include "build/make_wrd_files.h"

#include <cerrno>
#include <memory>
#include <ostream>

#include "app/document/atomic_file.h"
#include "app/document/cp932.h"
#include "app/document/names.h"
#include "app/document/text_mode.h"
#include "build/build_texts.h"
#include "build/command_generator.h"
#include "build/counting_log.h"
#include "build/parallel_collection.h"
#include "build/picture_table.h"
#include "files/file_errors.h"
#include "files/regular_file.h"
#include "wrd/vbinary_out.h"
#include "wrd/vnl_reader.h"

namespace {

// Opens the temporary file of an output; null (and the reason in `why`) when even that fails.
std::unique_ptr<AtomicFile> OpenOutput(const std::string& cp932Path, std::string& why) {
  try {
    // The outputs can always be made again: no need to wait for the disk.
    return std::make_unique<AtomicFile>(Cp932ToUtf8(cp932Path), AtomicFile::Durability::kUnsynced);
  } catch (const FileWriteError& error) {
    why = error.what();
    return nullptr;
  }
}

// Replaces the target with the written file; false (and the reason in `why`) when anything
// failed.
bool CommitOutput(AtomicFile* file, std::string& why) {
  if (file == nullptr) return false;
  try {
    file->Commit();
    return true;
  } catch (const FileWriteError& error) {
    why = error.what();
    return false;
  }
}

// The reason of a write that failed, when nothing else has said it.
void WriteFailed(const std::string& cp932Path, std::string& why) {
  if (why.empty()) {
    why = Cp932ToUtf8(cp932Path) + ": 書き込めません (" + ErrnoText(errno != 0 ? errno : EIO) + ")";
  }
}

// Logs the error line of an output and the reason, when there is one.
void LogOutputFailed(BuildLog& log, std::string_view line, const std::string& path,
                     const std::string& why) {
  log.AddLogLine(std::string(line) + path);
  if (!why.empty()) log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(why));
}

}  // namespace

BuildResult MakeWrdFiles(const EventTable& table, BuildLog& target, const MakeOptions& options) {
  CountingLog log(target);
  BuildResult result;
  log.BeginLog();
  const std::string vnlPath = VnlFilePath(table);
  const std::string evnPath = EvnFilePath(table);
  try {
    CollectionResult collection = CollectPicturesInParallel(table, log, true, options.Threads);
    result.PicturesConverted = collection.Converted;
    log.AddLogLine("");
    log.AddLogLine(std::string(build_texts::kLogWriting) + vnlPath);

    std::string why;
    std::unique_ptr<AtomicFile> vnlFile = OpenOutput(vnlPath, why);
    std::ostream discard(nullptr);  // takes the commands when the file cannot be created
    bool vnlWritten = false;
    std::string script;
    errno = 0;  // a failed write leaves the system's reason here
    {
      VBinaryOut out(vnlFile ? vnlFile->Stream() : discard);
      CommandGenerator generator(table, collection.Pictures, out, log);
      generator.WriteHeader();
      generator.WritePictureLoader();
      generator.WriteEvents();
      vnlWritten = out.Close() && !out.Failed();
      if (!vnlWritten && vnlFile) WriteFailed(vnlPath, why);
      // No reader takes a larger file: it is refused here rather than written unreadable.
      if (vnlWritten && vnlFile && vnlFile->Stream().tellp() > std::streamoff{kMaxVnlFileSize}) {
        vnlWritten = false;
        why = "VNLファイルが上限の" + SizeText(kMaxVnlFileSize) + "を超えます";
      }
      script = generator.Script();
    }
    result.VnlWritten = vnlWritten && CommitOutput(vnlFile.get(), why);
    vnlFile.reset();
    if (!result.VnlWritten) LogOutputFailed(log, build_texts::kLogVnlFailed, vnlPath, why);
    result.Pictures = std::move(collection.Pictures);

    why.clear();
    std::unique_ptr<AtomicFile> evnFile = OpenOutput(evnPath, why);
    if (evnFile) {
      const std::string bytes = ToTextMode(script);
      evnFile->Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    result.EvnWritten = CommitOutput(evnFile.get(), why);
    if (!result.EvnWritten) LogOutputFailed(log, build_texts::kLogEvnFailed, evnPath, why);
  } catch (const std::exception& error) {
    // Nothing the build issues should be refused; if it is, the old outputs stay.
    log.AddLogLine(std::string(build_texts::kLogBuildFailed) + Utf8ToCp932(error.what()));
  }
  log.AddLogLine(std::string(build_texts::kLogEnd));
  result.ErrorLines = log.ErrorLines();
  result.WarningLines = log.WarningLines();
  log.EndLog();
  return result;
}
