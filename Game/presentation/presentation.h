// What the player sees and hears: the frame with its heads-up display and
// overlays, and the music.
#pragma once

namespace Game {

// Mixer channels: an effect takes the first free one; the game-over and
// victory jingles share a fixed one, so the later replaces the earlier.
constexpr int any_channel = -1;
constexpr int jingle_channel = 15;

// Composes the whole frame from the background up and shows it.
void Draw();

// Replaces the current track by a random one of the playlist.
void PlayMusic();
// The mixer's word that the track has ended; runs on the audio thread.
void SetMusic();

}  // namespace Game
