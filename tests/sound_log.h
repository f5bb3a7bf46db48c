// Every effect the game starts, as the mixer was asked for it. The test
// build wraps Mix_PlayChannelTimed at link time; the effect still plays.
#pragma once

#include <SDL_mixer.h>

#include <vector>

struct PlayedSound {
    int channel;  // as asked: -1 for the first free one
    Mix_Chunk* chunk;
    int loops, ticks;
};

std::vector<PlayedSound>& SoundsPlayed();

// How many times the chunk was started since the log was last cleared.
int TimesPlayed(Mix_Chunk* chunk);
