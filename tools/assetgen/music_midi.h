// A small Standard MIDI File writer for the soundtrack: the composer fills a
// MidiSong with notes in ticks, this turns it into a format 1 file with a
// tempo track and one track per channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kMidiTicksPerQuarter = 480;

struct MidiNote {
    int channel;   // 0..15, 9 is the drum kit
    int key;       // MIDI note number
    int velocity;  // 1..127
    int start;     // tick
    int length;    // ticks
};

struct MidiChannelSetup {
    int channel;
    std::string name;  // track name shown by sequencers
    int program;       // General MIDI program, 0-based
    int volume;        // CC7
    int pan;           // CC10, 64 is centre
    int reverb;        // CC91
    int chorus;        // CC93
};

struct MidiTempo {
    int tick;
    double bpm;
};

struct MidiSong {
    std::string title;
    int beats_per_bar = 4;
    std::vector<MidiTempo> tempos;  // sorted by tick, first at tick 0
    std::vector<MidiChannelSetup> channels;
    std::vector<MidiNote> notes;
    int end_tick = 0;  // every track ends here
};

// Standard MIDI Files count in big-endian fields and variable-length
// quantities (seven bits a byte, the high bit set on all but the last).
void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes);
void PutVariableLength(std::vector<uint8_t>& out, uint32_t value);

// The whole file, ready to write.
std::vector<uint8_t> EncodeMidi(const MidiSong& song);

// Playing time in seconds up to the end of the tracks, following the tempo map.
double MidiSeconds(const MidiSong& song);
