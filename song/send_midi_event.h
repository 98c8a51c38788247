#pragma once

#include "song/midi_sink.h"
#include "song/midi_song.h"

// Sends one event of `song` to `sink`: channel messages and complete system exclusive messages;
// meta events and sysex packets carry nothing a synthesizer here could take. With `state_only`,
// only what sets a channel's state (controllers, programs, pressure, pitch bend, sysex) is sent.
void SendMidiEvent(const MidiSong& song, const MidiEvent& event, MidiSink& sink,
                   bool state_only = false);
