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
#include "build/system_reason.h"
#include "wrd/vbinary_out.h"

namespace {

// Opens the temporary file of an output; null, with the system's reason in `error`, when even
// that fails.
std::unique_ptr<AtomicFile> OpenOutput(const std::string& cp932Path, int& error) {
  try {
    // The outputs can always be made again: no need to wait for the disk.
    return std::make_unique<AtomicFile>(Cp932ToUtf8(cp932Path), AtomicFile::Durability::kUnsynced);
  } catch (const FileWriteError& failure) {
    error = failure.Code();
    return nullptr;
  }
}

// Replaces the target with the written file; false, with the reason in `error`, when anything
// failed.
bool CommitOutput(AtomicFile* file, int& error) {
  if (file == nullptr) return false;
  try {
    file->Commit();
    return true;
  } catch (const FileWriteError& failure) {
    error = failure.Code();
    return false;
  }
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

    int vnlError = 0;
    std::unique_ptr<AtomicFile> vnlFile = OpenOutput(vnlPath, vnlError);
    std::ostream discard(nullptr);  // takes the commands when the file cannot be created
    bool vnlWritten = false;
    std::string script;
    {
      VBinaryOut out(vnlFile ? vnlFile->Stream() : discard);
      CommandGenerator generator(table, collection.Pictures, out, log);
      generator.WriteHeader();
      generator.WritePictureLoader();
      generator.WriteEvents();
      vnlWritten = out.Close() && !out.Failed();
      if (!vnlWritten && vnlError == 0) vnlError = errno;
      script = generator.Script();
    }
    result.VnlWritten = vnlWritten && CommitOutput(vnlFile.get(), vnlError);
    vnlFile.reset();
    if (!result.VnlWritten) {
      log.AddLogLine(std::string(build_texts::kLogVnlFailed) + vnlPath + SystemReason(vnlError));
    }
    result.Pictures = std::move(collection.Pictures);

    int evnError = 0;
    std::unique_ptr<AtomicFile> evnFile = OpenOutput(evnPath, evnError);
    if (evnFile) {
      const std::string bytes = ToTextMode(script);
      evnFile->Stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    result.EvnWritten = CommitOutput(evnFile.get(), evnError);
    if (!result.EvnWritten) {
      log.AddLogLine(std::string(build_texts::kLogEvnFailed) + evnPath + SystemReason(evnError));
    }
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
