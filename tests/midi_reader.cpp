#include "midi_reader.h"

#include "music_midi.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t pos;
    size_t end;
    bool ok = true;

    int Byte() {
        if (pos >= end) {
            ok = false;
            return 0;
        }
        return bytes[pos++];
    }
    uint32_t BigEndian(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) value = value << 8 | uint32_t(Byte());
        return value;
    }
    uint32_t VariableLength() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const int b = Byte();
            value = value << 7 | uint32_t(b & 0x7F);
            if (!(b & 0x80)) return value;
        }
        ok = false;
        return value;
    }
};

int DataBytes(int status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

struct TempoPoint {
    int tick;
    double seconds;
    uint32_t us_per_quarter;
};

std::vector<TempoPoint> TempoMap(const SongFile& song) {
    std::vector<TempoPoint> map = {{0, 0.0, 500000}};
    for (const MidiEvent& e : song.events) {
        if (e.bytes.size() != 5 || e.bytes[0] != 0xFF || e.bytes[1] != 0x51) continue;
        const TempoPoint& last = map.back();
        const double at = last.seconds + double(e.tick - last.tick) * last.us_per_quarter / 1e6 / song.ticks_per_quarter;
        const uint32_t us = uint32_t(e.bytes[2]) << 16 | uint32_t(e.bytes[3]) << 8 | e.bytes[4];
        if (e.tick == last.tick) map.back().us_per_quarter = us;
        else map.push_back({e.tick, at, us});
    }
    return map;
}

// A meta or channel event as written in a track: metas need their length back.
void PutEvent(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    if (bytes[0] == 0xFF) {
        out.push_back(0xFF);
        out.push_back(bytes[1]);
        PutVariableLength(out, uint32_t(bytes.size() - 2));
        out.insert(out.end(), bytes.begin() + 2, bytes.end());
    } else {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

bool IsNoteOn(const std::vector<uint8_t>& b) { return (b[0] & 0xF0) == 0x90 && b[2] > 0; }
bool IsNoteOff(const std::vector<uint8_t>& b) {
    return (b[0] & 0xF0) == 0x80 || ((b[0] & 0xF0) == 0x90 && b[2] == 0);
}

}  // namespace

double SongFile::Seconds(int tick) const {
    const std::vector<TempoPoint> map = TempoMap(*this);
    const TempoPoint* at = &map.front();
    for (const TempoPoint& point : map)
        if (point.tick <= tick) at = &point;
    return at->seconds + double(tick - at->tick) * at->us_per_quarter / 1e6 / ticks_per_quarter;
}

int SongFile::TickAt(double seconds) const {
    const std::vector<TempoPoint> map = TempoMap(*this);
    const TempoPoint* at = &map.front();
    for (const TempoPoint& point : map)
        if (point.seconds <= seconds) at = &point;
    return at->tick + int((seconds - at->seconds) * 1e6 / at->us_per_quarter * ticks_per_quarter);
}

bool ParseMidi(const std::vector<uint8_t>& bytes, SongFile& song, std::string& error) {
    song = SongFile();
    Reader header{bytes, 0, bytes.size()};
    if (header.BigEndian(4) != 0x4D546864u || header.BigEndian(4) != 6) {
        error = "no MThd header";
        return false;
    }
    header.BigEndian(2);  // format
    song.tracks = int(header.BigEndian(2));
    song.ticks_per_quarter = int(header.BigEndian(2));
    if (!header.ok || song.ticks_per_quarter <= 0 || song.ticks_per_quarter >= 0x8000) {
        error = "bad header";
        return false;
    }
    size_t pos = header.pos;
    for (int track = 0; track < song.tracks; ++track) {
        Reader chunk{bytes, pos, bytes.size()};
        const uint32_t tag = chunk.BigEndian(4), length = chunk.BigEndian(4);
        if (!chunk.ok || tag != 0x4D54726Bu || chunk.pos + length > bytes.size()) {
            error = "track " + std::to_string(track) + " is not a whole MTrk chunk";
            return false;
        }
        Reader r{bytes, chunk.pos, chunk.pos + length};
        int tick = 0, running = 0;
        bool ended = false;
        while (r.ok && r.pos < r.end && !ended) {
            tick += int(r.VariableLength());
            int status = r.Byte();
            MidiEvent event{tick, track, {}};
            if (status == 0xFF) {
                const int type = r.Byte();
                const uint32_t len = r.VariableLength();
                event.bytes = {0xFF, uint8_t(type)};
                for (uint32_t i = 0; i < len; ++i) event.bytes.push_back(uint8_t(r.Byte()));
                ended = type == 0x2F;
            } else if (status == 0xF0 || status == 0xF7) {
                const uint32_t len = r.VariableLength();
                for (uint32_t i = 0; i < len; ++i) r.Byte();
                continue;
            } else {
                if (status < 0x80) {  // running status
                    if (!running) {
                        error = "data byte without a status";
                        return false;
                    }
                    --r.pos;
                    status = running;
                }
                running = status;
                event.bytes = {uint8_t(status)};
                for (int i = 0; i < DataBytes(status); ++i) event.bytes.push_back(uint8_t(r.Byte()));
            }
            song.end_tick = std::max(song.end_tick, tick);
            if (!ended) song.events.push_back(event);
        }
        if (!r.ok || !ended) {
            error = "track " + std::to_string(track) + " does not end properly";
            return false;
        }
        pos = chunk.pos + length;
    }
    std::stable_sort(song.events.begin(), song.events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });

    std::map<int, size_t> sounding;  // channel << 8 | key -> index in notes
    for (const MidiEvent& e : song.events) {
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x58 && e.bytes.size() >= 3) song.beats_per_bar = e.bytes[2];
        if (e.bytes[0] >= 0xF0) continue;
        const int channel = e.bytes[0] & 0x0F;
        if (IsNoteOff(e.bytes) || IsNoteOn(e.bytes)) {
            const int id = channel << 8 | e.bytes[1];
            auto open = sounding.find(id);
            if (open != sounding.end()) {
                song.notes[open->second].length = e.tick - song.notes[open->second].start;
                sounding.erase(open);
            }
            if (IsNoteOn(e.bytes)) {
                sounding[id] = song.notes.size();
                song.notes.push_back({channel, e.bytes[1], e.bytes[2], e.tick, song.end_tick - e.tick});
            }
        }
    }
    return true;
}

bool ReadMidiFile(const std::string& path, SongFile& song, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t block[4096];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
    return ParseMidi(bytes, song, error);
}

std::vector<uint8_t> CutMidi(const SongFile& song, int from_tick) {
    std::vector<std::vector<std::pair<int, std::vector<uint8_t>>>> tracks(size_t(song.tracks));
    // What is in force at the cut, per track: the last tempo, every
    // controller and program, and the notes still held.
    // Each keeps the order in which it was last set, so a reset of the
    // controllers still comes before the volumes set after it.
    std::vector<std::map<int, std::pair<size_t, std::vector<uint8_t>>>> state(size_t(song.tracks));
    std::vector<std::map<int, std::pair<size_t, std::vector<uint8_t>>>> held(size_t(song.tracks));
    for (size_t i = 0; i < song.events.size(); ++i) {
        const MidiEvent& e = song.events[i];
        auto& out = tracks[size_t(e.track)];
        if (e.tick >= from_tick) {
            out.push_back({e.tick - from_tick, e.bytes});
            continue;
        }
        const std::vector<uint8_t>& b = e.bytes;
        if (b[0] == 0xFF) {
            if (b[1] == 0x51) state[size_t(e.track)][0x51] = {i, b};
            else if (b[1] != 0x2F) out.push_back({0, b});  // names and metre
        } else if (IsNoteOn(b)) {
            held[size_t(e.track)][(b[0] & 0x0F) << 8 | b[1]] = {i, b};
        } else if (IsNoteOff(b)) {
            held[size_t(e.track)].erase((b[0] & 0x0F) << 8 | b[1]);
        } else {
            const int kind = b[0] & 0xF0;
            const int key = kind == 0xB0 ? 0x1000 | (b[0] & 0x0F) << 8 | b[1] : (kind << 4) | (b[0] & 0x0F);
            state[size_t(e.track)][key] = {i, b};
        }
    }
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    PutBigEndian(file, 6, 4);
    PutBigEndian(file, 1, 2);
    PutBigEndian(file, uint32_t(song.tracks), 2);
    PutBigEndian(file, uint32_t(song.ticks_per_quarter), 2);
    for (size_t t = 0; t < tracks.size(); ++t) {
        std::vector<std::pair<size_t, std::vector<uint8_t>>> in_force;
        for (const auto& [key, entry] : state[t]) in_force.push_back(entry);
        for (const auto& [key, entry] : held[t]) in_force.push_back(entry);
        std::sort(in_force.begin(), in_force.end());
        std::vector<std::pair<int, std::vector<uint8_t>>> events;
        for (const auto& entry : in_force) events.push_back({0, entry.second});
        events.insert(events.end(), tracks[t].begin(), tracks[t].end());
        std::vector<uint8_t> body;
        int last = 0;
        for (const auto& [tick, bytes] : events) {
            PutVariableLength(body, uint32_t(tick - last));
            PutEvent(body, bytes);
            last = tick;
        }
        PutVariableLength(body, uint32_t(std::max(0, song.end_tick - from_tick - last)));
        body.insert(body.end(), {0xFF, 0x2F, 0x00});
        file.insert(file.end(), {'M', 'T', 'r', 'k'});
        PutBigEndian(file, uint32_t(body.size()), 4);
        file.insert(file.end(), body.begin(), body.end());
    }
    return file;
}
