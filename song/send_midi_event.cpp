#include "song/send_midi_event.h"

namespace {

bool IsStateEvent(const MidiEvent& event) {
  if (event.status == MidiEvent::kSysEx) return true;
  if (!event.IsChannel()) return false;
  const uint8_t kind = event.Kind();
  return kind == 0xB0 || kind == 0xC0 || kind == 0xD0 || kind == 0xE0;
}

}  // namespace

void SendMidiEvent(const MidiSong& song, const MidiEvent& event, MidiSink& sink, bool state_only) {
  if (state_only && !IsStateEvent(event)) return;
  if (event.IsChannel()) {
    sink.Channel(event.status, event.data1, event.data2);
  } else if (event.status == MidiEvent::kSysEx && event.data_size > 0 &&
             song.Data(event)[event.data_size - 1] == 0xF7) {
    // Only complete messages: split sysex packets and F7 escapes carry nothing a synthesizer
    // here could take.
    sink.SysEx(song.Data(event), event.data_size - 1);
  }
}
