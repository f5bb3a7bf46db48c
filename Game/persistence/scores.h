// The ten best scores and their file "Save/Score": ten signed 32-bit
// little-endian integers, the best first.
#pragma once

namespace Game {

// Fills best_scores from the file; all zero without one.
void ReadScore();
// Writes best_scores to the file, replacing the old one whole; creates Save
// when it is missing, and says on standard error when it cannot save.
void SaveScore();
// Offers the current score to the table, below any equal entry. A game has
// one entry at most: offered again with a higher score, its entry moves up.
void CheckScore();

}  // namespace Game
