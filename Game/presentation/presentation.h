// What the player sees and hears: the frame with its heads-up display and
// overlays, and the music.
#pragma once

namespace Game {

// Composes the whole frame from the background up and shows it.
void Draw();

// Replaces the current track by a random one of the playlist.
void PlayMusic();
// The mixer's word that the track has ended; runs on the audio thread.
void SetMusic();

}  // namespace Game
