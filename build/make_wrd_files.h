#pragma once

#include "app/document/event_table.h"
#include "build/build_log.h"

// What a build did, for callers that report it (the command-line tool's exit status).
struct BuildResult {
  int ErrorLines = 0;    // log lines starting with "エラー: "
  int WarningLines = 0;  // log lines starting with "警告: "
  int PicturesConverted = 0;
  bool VnlWritten = false;
  bool EvnWritten = false;
};

// "Make": collects and converts the pictures of the live events and writes the VNL file
// (MidiFolder + BaseName + "vnl") and the text script (... "evn") beside the MIDI file; the PNG
// files go into MidiFolder. Works on the table as given: the caller commits the edit controls
// first. Calls log.BeginLog() first and log.EndLog() last, after the line "終了"; every failure is
// a log line, never an exception for bad input. The outputs are replaced only when they were
// written completely, so a failed build leaves the previous ones intact.
BuildResult MakeWrdFiles(const EventTable& table, BuildLog& log);
