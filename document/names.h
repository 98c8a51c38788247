#pragma once

#include <string>
#include <string_view>

#include "document/event_table.h"

// Names of a project. All texts here are CP932 bytes, as the document holds them; they become
// file-system paths only when a file is opened (Cp932ToUtf8).
//
// A folder separator is "/", ":" or "\" -- a "\" only when it is not the second byte of a
// Shift-JIS double-byte character -- so that projects made on Windows keep their file names.

// Whether the text holds a folder separator at all.
bool HasFolderPart(std::string_view cp932);

// The text after the last folder separator (the whole text when there is none).
std::string FileNamePart(std::string_view cp932);

// The text before the last folder separator (empty when there is none).
std::string FolderPart(std::string_view cp932);

// The text less its last `count` characters, a Shift-JIS double-byte character counting as one;
// empty when the text is shorter.
std::string DropLastCharacters(std::string_view cp932, int count);

// Sets MidiPath, MidiFolder (the folder part followed by "/", or "./" for a bare file name) and
// BaseName (the file name less its last three characters, so "song.mid" gives "song.").
void SetMidiPath(EventTable& table, const std::string& cp932Path);

// MidiFolder + BaseName + "vwm", "vnl" and "evn".
std::string ProjectFilePath(const EventTable& table);
std::string VnlFilePath(const EventTable& table);
std::string EvnFilePath(const EventTable& table);

// The file an event's Picture text names: a bare name and any relative path lie in MidiFolder;
// a path starting with "/" stands as it is.
std::string ResolvePicturePath(const EventTable& table, std::string_view picture);

// Comparison character by character, the ASCII letters a-z taken as A-Z; the bytes of a
// Shift-JIS double-byte character are compared as they are (its second byte is no letter).
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The text with the ASCII letters a-z turned into A-Z, double-byte characters left as they are:
// equal keys for names that SameNameIgnoringCase takes as equal.
std::string NameKey(std::string_view text);
