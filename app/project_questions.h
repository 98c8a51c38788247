#pragma once

#include <string>

#include "document/project_file.h"
#include "editing/recovery_copy.h"

class Dialogs;

// What the main window asks and tells about the project file, through its dialogs.

// "変更されています。保存しますか？" for the song (CP932 path; empty while none is open).
// Yes without a song cannot save and says so: the answer is then kCancel.
enum class SaveAnswer { kSave, kDiscard, kCancel };
SaveAnswer AskToSave(Dialogs& dialogs, const std::string& cp932_midi_path);

// A project file that was not read whole is kept as it is and backed up at the first save:
// the user is told why and where (the project's CP932 path).
void TellProjectKept(Dialogs& dialogs, const ProjectLoad& load,
                     const std::string& cp932_project_path);

// Offers the recovery copy of the song's project; true when the user takes it.
bool AskToRestore(Dialogs& dialogs, const RecoveryCopy& copy, const std::string& cp932_midi_path);
