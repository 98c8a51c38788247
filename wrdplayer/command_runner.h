#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "wrd/vnl_reader.h"
#include "wrdplayer/player_state.h"

class GlyphFont;
class PictureSource;

// Throws VnlError (at the record's offset) when a record the player runs has a payload that
// does not fit its command, so that running records never meets a malformed one.
void CheckRecord(const VnlRecordView& record);

// Runs one checked Data block record on `state`. Returns its cost (about the bytes it touched),
// by which the player spaces its snapshots.
size_t RunRecord(const VnlRecordView& record, PlayerState& state, GlyphFont& font,
                 PictureSource& pictures);

// For each record of `timed` (run in order from `initial`) that draws on a page: the index of a
// later record that fills the whole page opaquely before anything reads it, or kNotOverwritten.
// A replay that runs that later record may skip the drawing: its pixels could never be seen.
// Timed records that allocate or load pages change page sizes; with any of them nothing is
// marked.
constexpr size_t kNotOverwritten = static_cast<size_t>(-1);
std::vector<size_t> FindOverwrittenDrawing(std::span<const VnlRecordView> timed,
                                           const PlayerState& initial);
