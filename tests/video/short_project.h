#pragma once

// A short project for the video tests: a second at 120 BPM, then half a second at 240 BPM; a
// picture of coloured bands from the second sixteenth, a lyric line from the fourth.

#include <memory>

#include "document/names.h"
#include "make/test_bmp_writer.h"
#include "song/smf_builder.h"
#include "support/temp_folder.h"

inline std::unique_ptr<EventTable> ShortProject(const TempFolder& folder) {
  TrackBuilder melody;
  melody.Raw(0, {0xC0, 0}).Note(0, 0, 60, 192).Note(0, 0, 64, 192).End();
  folder.Write(
      "song.mid",
      BuildSmf(1, 96, {TrackBuilder().Tempo(0, 500000).Tempo(192, 250000).End(384), melody}));
  test_bmp::WriteFile(folder.Path() / "bands.bmp",
                      test_bmp::Bmp8(
                          640, 480, [](int x, int y) { return uint8_t((x / 40 + y / 60) % 8); },
                          [](int i) { return uint32_t(i * 0x1F3D5B) & 0xFFFFFF; }));
  auto table = std::make_unique<EventTable>();
  SetMidiPath(*table, folder / "song.mid");
  EventItem& bands = table->events[0];
  bands.Mark = "bands";
  bands.Count = 2;
  bands.Picture = "bands.bmp";
  EventItem& words = table->events[1];
  words.Mark = "words";
  words.Count = 4;
  words.Lyrics = "Hello";
  words.X1 = 20;
  words.Y1 = 400;
  words.X2 = 620;
  words.Color = 0x00FFFFFF;
  table->EventCount = 2;
  return table;
}
