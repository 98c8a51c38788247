#include "build/make_wrd_files.h"

#include <exception>
#include <string>
#include <system_error>
#include <thread>

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

// Puts `bytes` in place of the output at `cp932Path`; an output that holds them already is left
// as it is. False (and the reason in `why`) when the write failed.
bool WriteOutput(const std::string& cp932Path, const std::string& bytes, std::string& why) {
  try {
    const std::string path = Cp932ToUtf8(cp932Path);
    // The outputs can always be made again: no need to wait for the disk.
    if (!FileHolds(path, bytes))
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

    // The script is made on a thread of its own while the commands are, unless one thread was
    // asked for (or none can be started).
    std::string evn;
    std::exception_ptr evnError;
    const auto makeEvn = [&] {
      try {
        evn = MakeEvn(table, collection.Pictures);
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

    result.VnlWritten = vnlMade && WriteOutput(vnlPath, vnl, why);
    if (!result.VnlWritten) LogOutputFailed(log, build_texts::kLogVnlFailed, vnlPath, why);
    result.Pictures = std::move(collection.Pictures);

    why.clear();
    result.EvnWritten = WriteOutput(evnPath, evn, why);
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
