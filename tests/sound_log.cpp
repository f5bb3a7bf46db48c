#include "sound_log.h"

std::vector<PlayedSound>& SoundsPlayed() {
    static std::vector<PlayedSound> played;
    return played;
}

int TimesPlayed(Mix_Chunk* chunk) {
    int times = 0;
    for (const PlayedSound& sound : SoundsPlayed()) times += sound.chunk == chunk;
    return times;
}

extern "C" {
int __real_Mix_PlayChannelTimed(int, Mix_Chunk*, int, int);

int __wrap_Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) {
    SoundsPlayed().push_back({channel, chunk, loops, ticks});
    return __real_Mix_PlayChannelTimed(channel, chunk, loops, ticks);
}
}
