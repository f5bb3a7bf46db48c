#include "scores.h"

#include "state.h"

#include <cstdint>
#include <cstdio>

namespace Game {

namespace {

const char* const score_file = "Save/Score";
constexpr int table_size = 10;

}  // namespace

void ReadScore() {
    // Entries a short or missing file does not cover read as zero.
    unsigned char bytes[4 * table_size] = {};
    if (std::FILE* file = std::fopen(score_file, "rb")) {
        (void)std::fread(bytes, 1, sizeof bytes, file);
        std::fclose(file);
    }
    for (int k = 0; k < table_size; ++k) {
        const unsigned char* b = bytes + 4 * k;
        best_scores[k] = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                 uint32_t(b[3]) << 24);
    }
}

void SaveScore() {
    unsigned char bytes[4 * table_size];
    for (int k = 0; k < table_size; ++k) {
        const uint32_t v = uint32_t(best_scores[k]);
        for (int i = 0; i < 4; ++i) bytes[4 * k + i] = (unsigned char)(v >> (8 * i));
    }
    if (std::FILE* file = std::fopen(score_file, "wb")) {
        std::fwrite(bytes, 1, sizeof bytes, file);
        std::fclose(file);
    }
}

void CheckScore() {
    score_done = true;
    // The first entry lower than the score gives way; an equal one does not.
    int i = 0;
    while (i < table_size && best_scores[i] >= score) ++i;
    if (score_entry == no_score_entry) {
        if (i == table_size) return;
        for (int k = table_size - 1; k > i; --k) best_scores[k] = best_scores[k - 1];
        best_scores[i] = score;
        score_entry = i;
        return;
    }
    // The game is in the table already (won after its last life, or brought
    // back by a life bonus): its own entry moves up, and nothing else leaves.
    const int j = score_entry;
    if (score <= best_scores[j]) return;
    for (int k = j; k > i; --k) best_scores[k] = best_scores[k - 1];
    best_scores[i] = score;
    score_entry = i;
}

}  // namespace Game
