// Reads the soundtrack's Standard MIDI Files back as the listener's tests see
// them: notes in seconds and beats, the tempo map, each channel's set-up, and
// a cut that starts a file in the middle so a late passage plays at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MidiEvent {
    int tick;
    int track;
    std::vector<uint8_t> bytes;  // status byte first; meta events as FF type data
};

struct SongNote {
    int channel;
    int key;
    int velocity;
    int start;   // ticks
    int length;  // ticks
};

struct SongFile {
    int ticks_per_quarter = 0;
    int beats_per_bar = 4;
    int tracks = 0;
    std::vector<MidiEvent> events;  // every event of every track, sorted by tick
    std::vector<SongNote> notes;
    int end_tick = 0;

    double Seconds(int tick) const;        // through the tempo map
    int TickAt(double seconds) const;
};

// False with the reason in `error` when the bytes are not a Standard MIDI File.
bool ParseMidi(const std::vector<uint8_t>& bytes, SongFile& song, std::string& error);
bool ReadMidiFile(const std::string& path, SongFile& song, std::string& error);

// A copy that begins at `from_tick`: the tempo, programs and controllers in
// force there come first, notes still sounding start again, the rest moves
// earlier by `from_tick`.
std::vector<uint8_t> CutMidi(const SongFile& song, int from_tick);
