#pragma once

#include "document/event_table.h"
#include "make/build_log.h"
#include "make/picture_table.h"

// What a build did, for callers that report it (the command-line tool's exit status).
struct BuildResult {
  int ErrorLines = 0;    // error lines the build logged
  int WarningLines = 0;  // warning lines the build logged
  int PicturesConverted = 0;
  bool VnlWritten = false;
  bool EvnWritten = false;
  PictureTable Pictures;  // what the collection found, for the checks that follow a build
};

struct MakeOptions {
  int Threads = 0;  // pictures loaded and converted at once; 0: one per core
};

// "Make": collects and converts the pictures of the live events and writes the VNL file
// (MidiFolder + BaseName + "vnl") and the text script (... "evn") beside the MIDI file; the PNG
// files go into MidiFolder. Works on the table as given: the caller commits the edit controls
// first. Calls log.BeginLog() first and log.EndLog() last, after the line "終了"; every failure is
// a log line, never an exception for bad input. The outputs are replaced only when they were
// written completely, so a failed build leaves the previous ones intact; a failed write says
// why. The pictures are loaded and converted on several threads, the log still in table order.
BuildResult MakeWrdFiles(const EventTable& table, BuildLog& log, const MakeOptions& options = {});
