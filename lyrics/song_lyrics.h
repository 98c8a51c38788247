#pragma once

#include "lyrics/lyric_page.h"
#include "song/midi_song.h"

// The syllables a song carries, from its lyric (FF 05) and text (FF 01) events in any track and
// in its karaoke chunks. Each track's lyric events, each track's text events and each karaoke
// chunk are a source of their own; the source with the most syllables is taken (files often
// carry the lyrics twice), and a second syllable at one tick with the same text is dropped.
// Texts that declare no character set are read in the one encoding guessed for the whole file
// (GuessEncoding). Odd input gives what can be read, with notices: characters CP932 cannot
// hold, empty texts, syllables after the song's end, what the MIDI reader mended.
SongLyrics ReadSongLyrics(const MidiSong& song);
