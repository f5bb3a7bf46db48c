// Standard MIDI File encoding for the soundtrack.
#include "music_midi.h"

#include <algorithm>
#include <cmath>

namespace {

struct TrackEvent {
    int tick;
    int order;  // at one tick: set-up first, then note-offs, then note-ons
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> MetaText(uint8_t type, const std::string& text) {
    std::vector<uint8_t> bytes = {0xFF, type};
    PutVariableLength(bytes, uint32_t(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

uint32_t MicrosecondsPerQuarter(double bpm) {
    return uint32_t(std::lround(60000000.0 / bpm));
}

// Sorts the events and appends them as one MTrk chunk, closed at end_tick.
void AppendTrack(std::vector<uint8_t>& file, std::vector<TrackEvent> events, int end_tick) {
    std::stable_sort(events.begin(), events.end(), [](const TrackEvent& a, const TrackEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    int last_tick = 0;
    for (const TrackEvent& event : events) {
        PutVariableLength(body, uint32_t(event.tick - last_tick));
        body.insert(body.end(), event.bytes.begin(), event.bytes.end());
        last_tick = event.tick;
    }
    PutVariableLength(body, uint32_t(std::max(0, end_tick - last_tick)));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    PutBigEndian(file, uint32_t(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
}

std::vector<TrackEvent> ChannelEvents(const MidiChannelSetup& setup, std::vector<MidiNote> notes) {
    const uint8_t ch = uint8_t(setup.channel & 0x0F);
    const uint8_t control = uint8_t(0xB0 | ch);
    std::vector<TrackEvent> events;
    events.push_back({0, 0, MetaText(0x03, setup.name)});
    events.push_back({0, 0, {control, 121, 0}});  // reset controllers
    events.push_back({0, 0, {control, 0, 0}});    // bank 0
    events.push_back({0, 0, {uint8_t(0xC0 | ch), uint8_t(setup.program & 0x7F)}});
    events.push_back({0, 0, {control, 7, uint8_t(setup.volume)}});
    events.push_back({0, 0, {control, 11, 127}});
    events.push_back({0, 0, {control, 10, uint8_t(setup.pan)}});
    events.push_back({0, 0, {control, 91, uint8_t(setup.reverb)}});
    events.push_back({0, 0, {control, 93, uint8_t(setup.chorus)}});

    // A repeated key must not be cut by the previous note's release.
    std::stable_sort(notes.begin(), notes.end(),
                     [](const MidiNote& a, const MidiNote& b) { return a.start < b.start; });
    for (size_t i = 0; i < notes.size(); ++i) {
        for (size_t j = i + 1; j < notes.size(); ++j) {
            if (notes[j].key != notes[i].key) continue;
            if (notes[j].start < notes[i].start + notes[i].length)
                notes[i].length = notes[j].start - notes[i].start;
            break;
        }
    }
    for (const MidiNote& note : notes) {
        if (note.length <= 0) continue;
        const uint8_t key = uint8_t(std::clamp(note.key, 0, 127));
        const uint8_t velocity = uint8_t(std::clamp(note.velocity, 1, 127));
        events.push_back({note.start, 2, {uint8_t(0x90 | ch), key, velocity}});
        events.push_back({note.start + note.length, 1, {uint8_t(0x80 | ch), key, 64}});
    }
    return events;
}

}  // namespace

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

void PutVariableLength(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = uint8_t(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(uint8_t(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

std::vector<uint8_t> EncodeMidi(const MidiSong& song) {
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 1, 2);  // format 1: tempo track plus one track per channel
    PutBigEndian(file, uint32_t(1 + song.channels.size()), 2);
    PutBigEndian(file, kMidiTicksPerQuarter, 2);

    std::vector<TrackEvent> tempo_track;
    tempo_track.push_back({0, 0, MetaText(0x03, song.title)});
    tempo_track.push_back({0, 0, {0xFF, 0x58, 0x04, uint8_t(song.beats_per_bar), 2, 24, 8}});
    for (const MidiTempo& tempo : song.tempos) {
        std::vector<uint8_t> bytes = {0xFF, 0x51, 0x03};
        PutBigEndian(bytes, MicrosecondsPerQuarter(tempo.bpm), 3);
        tempo_track.push_back({tempo.tick, 1, bytes});
    }
    AppendTrack(file, tempo_track, song.end_tick);

    for (const MidiChannelSetup& setup : song.channels) {
        std::vector<MidiNote> notes;
        for (const MidiNote& note : song.notes)
            if (note.channel == setup.channel) notes.push_back(note);
        AppendTrack(file, ChannelEvents(setup, notes), song.end_tick);
    }
    return file;
}

double MidiSeconds(const MidiSong& song) {
    double seconds = 0.0;
    int tick = 0;
    double bpm = song.tempos.empty() ? 120.0 : song.tempos.front().bpm;
    for (const MidiTempo& tempo : song.tempos) {
        if (tempo.tick > tick) {
            // Same rounding as the file, so this is what a player hears.
            seconds += double(tempo.tick - tick) * MicrosecondsPerQuarter(bpm) / 1e6 / kMidiTicksPerQuarter;
            tick = tempo.tick;
        }
        bpm = tempo.bpm;
    }
    seconds += double(song.end_tick - tick) * MicrosecondsPerQuarter(bpm) / 1e6 / kMidiTicksPerQuarter;
    return seconds;
}
