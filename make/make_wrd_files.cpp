#include "make/make_wrd_files.h"

#include <exception>
#include <memory>
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
    // Memory is the only thing that fails here, and that throws; checked all the same.
    if (!out.Close()) throw *out.Failure();
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

// One of the two outputs that are replaced together or not at all: a VNL file without its
// script (or the other way round) would describe another show.
struct PairedOutput {
  std::string_view failedLine{};  // the error line when it is not replaced
  std::string path{};             // CP932, as the log names it
  std::string file{};             // UTF-8
  std::string bytes{};
  bool unchanged = false;  // the file holds the bytes already
  std::unique_ptr<AtomicFile> writer{};
  std::string why{};  // why it is not replaced; empty while it can be
  bool linkRefused = false;
};

// Writes the output's new version beside it, not yet in place, so that a failure of either
// output is known before any is replaced.
void Prepare(PairedOutput& output) {
  if (output.unchanged || !output.why.empty()) return;
  try {
    // The outputs can always be made again: no need to wait for the disk.
    output.writer = std::make_unique<AtomicFile>(output.file, AtomicFile::Durability::kUnsynced,
                                                 FileReplacement::Temporary::kUnnamedWhereOffered,
                                                 AtomicFile::Links::kWithinFolder);
    output.writer->Stream().write(output.bytes.data(),
                                  static_cast<std::streamsize>(output.bytes.size()));
    output.writer->Close();
  } catch (const LinkRefusedError& error) {
    output.why = error.what();
    output.linkRefused = true;
    output.writer.reset();
  } catch (const FileWriteError& error) {
    output.why = error.what();
    output.writer.reset();
  }
}

void Commit(PairedOutput& output) {
  if (output.writer == nullptr) return;
  try {
    output.writer->Commit();
  } catch (const FileWriteError& error) {
    output.why = error.what();
  }
  output.writer.reset();
}

// Keeps `output` as it was because `other` cannot be replaced.
void KeepFor(PairedOutput& output, std::string_view otherKind, std::string_view kind) {
  if (output.writer == nullptr) return;
  output.writer.reset();
  output.why = std::string(otherKind) + "ファイルを出力できないので、" + std::string(kind) +
               "ファイルも元のままにしました";
}

// Replaces both outputs, or neither.
void ReplacePair(PairedOutput& vnl, PairedOutput& evn) {
  Prepare(vnl);
  Prepare(evn);
  if (vnl.why.empty() && evn.why.empty()) {
    Commit(vnl);
    if (vnl.why.empty()) Commit(evn);
  }
  if (!vnl.why.empty()) KeepFor(evn, "VNL", "EVN");
  if (!evn.why.empty()) KeepFor(vnl, "EVN", "VNL");
}

// Logs the error line of an output that was not replaced, and the reason.
void LogOutputFailed(BuildLog& log, const PairedOutput& output) {
  if (output.why.empty()) return;
  const std::string_view line =
      output.linkRefused ? build_texts::kLogLinkRefused : output.failedLine;
  log.AddProblemLine(LineSeverity::kError, std::string(line) + output.path);
  log.AddLogLine(std::string(build_texts::kLogReason) + Utf8ToCp932(output.why));
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
    PairedOutput vnl{
        .failedLine = build_texts::kLogVnlFailed, .path = vnlPath, .file = Cp932ToUtf8(vnlPath)};
    const bool vnlMade = MakeVnl(table, collection.Pictures, log, vnl.bytes, vnl.why);
    if (evnThread.joinable()) {
      evnThread.join();
    } else {
      makeEvn();
    }
    if (evnError) std::rethrow_exception(evnError);

    vnl.unchanged = vnlMade && FileHolds(vnl.file, vnl.bytes);
    PairedOutput evnOutput{.failedLine = build_texts::kLogEvnFailed,
                           .path = evnPath,
                           .file = evnFile,
                           .bytes = std::move(evn),
                           .unchanged = evnUnchanged};
    ReplacePair(vnl, evnOutput);
    LogOutputFailed(log, vnl);
    LogOutputFailed(log, evnOutput);
    result.VnlWritten = vnl.why.empty();
    result.EvnWritten = evnOutput.why.empty();
    result.Pictures = std::move(collection.Pictures);
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
