#include "make/make_wrd_files.h"

#include <exception>
#include <string>
#include <system_error>
#include <thread>

#include "document/names.h"
#include "document/text_mode.h"
#include "files/atomic_file.h"
#include "files/file_errors.h"
#include "files/regular_file.h"
#include "make/build_texts.h"
#include "make/command_generator.h"
#include "make/counting_log.h"
#include "make/parallel_collection.h"
#include "make/picture_table.h"
#include "text/cp932.h"
#include "wrd/vbinary_out.h"
#include "wrd/vnl_reader.h"

namespace {

// The VNL file's bytes: the header, the set-up, the picture loader and every event. False (and
// the reason in `why`) when the file would be larger than any reader takes.
bool MakeVnl(const EventTable& table, const PictureTable& pictures, BuildLog& log,
             std::string& bytes, std::string& why) {
  bytes.clear();
  {
    VBinaryOut out(bytes);
    CommandGenerator(table, pictures, &out, CommandGenerator::ScriptLines::kSkipped, log)
        .WriteAll();
    out.Close();
  }
  // No reader takes a larger file: it is refused here rather than written unreadable.
  if (bytes.size() > kMaxVnlFileSize) {
    why = "VNLファイルが上限の" + SizeText(kMaxVnlFileSize) + "を超えます";
    return false;
  }
  return true;
}

// The text script's bytes, with CR LF line ends.
std::string MakeEvn(const EventTable& table, const PictureTable& pictures) {
  SilentLog log;  // the VNL's generator logs the same lines
  CommandGenerator generator(table, pictures, nullptr, CommandGenerator::ScriptLines::kWritten,
                             log);
  generator.WriteAll();
  return ToTextMode(generator.Script());
}

// Puts `bytes` in place of the output at `path` (UTF-8), unless `unchanged` says that it holds
// them already. False (and the reason in `why`) when the write failed.
bool ReplaceOutput(const std::string& path, const std::string& bytes, bool unchanged,
                   std::string& why) {
  if (unchanged) return true;
  try {
    // The outputs can always be made again: no need to wait for the disk.
    WriteFileAtomically(path, bytes, AtomicFile::Durability::kUnsynced);
    return true;
  } catch (const FileWriteError& error) {
    why = error.what();
    return false;
  }
}

// Logs the error line of an output and the reason, when there is one.
void LogOutputFailed(BuildLog& log, std::string_view line, const std::string& path,
                     const std::string& why) {
  log.AddProblemLine(LineSeverity::kError, std::string(line) + path);
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

    // The script is made (and compared with the file it replaces) on a thread of its own while
    // the commands are, unless one thread was asked for (or none can be started).
    const std::string evnFile = Cp932ToUtf8(evnPath);
    std::string evn;
    bool evnUnchanged = false;
    std::exception_ptr evnError;
    const auto makeEvn = [&] {
      try {
        evn = MakeEvn(table, collection.Pictures);
        evnUnchanged = FileHolds(evnFile, evn);
      } catch (...) {
        evnError = std::current_exception();
      }
    };
    std::jthread evnThread;
    if (options.Threads != 1) {
      try {
        evnThread = std::jthread(makeEvn);
      } catch (const std::system_error&) {
      }
    }
    std::string vnl;
    std::string why;
    const bool vnlMade = MakeVnl(table, collection.Pictures, log, vnl, why);
    if (evnThread.joinable()) {
      evnThread.join();
    } else {
      makeEvn();
    }
    if (evnError) std::rethrow_exception(evnError);

    const std::string vnlFile = Cp932ToUtf8(vnlPath);
    result.VnlWritten = vnlMade && ReplaceOutput(vnlFile, vnl, FileHolds(vnlFile, vnl), why);
    if (!result.VnlWritten) LogOutputFailed(log, build_texts::kLogVnlFailed, vnlPath, why);
    result.Pictures = std::move(collection.Pictures);

    why.clear();
    result.EvnWritten = ReplaceOutput(evnFile, evn, evnUnchanged, why);
    if (!result.EvnWritten) LogOutputFailed(log, build_texts::kLogEvnFailed, evnPath, why);
  } catch (const std::exception& error) {
    // Nothing the build issues should be refused; if it is, the old outputs stay.
    log.AddProblemLine(LineSeverity::kError,
                       std::string(build_texts::kLogBuildFailed) + Utf8ToCp932(error.what()));
  }
  log.AddLogLine(std::string(build_texts::kLogEnd));
  result.ErrorLines = log.ErrorLines();
  result.WarningLines = log.WarningLines();
  log.EndLog();
  return result;
}
