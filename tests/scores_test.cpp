// The best-score table and its file.
#include "game_fixture.h"

#include <fstream>
#include <iterator>

namespace {

using Scores = GameTest;

void WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<unsigned char> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<int> Table() { return std::vector<int>(best_scores, best_scores + 10); }

TEST_F(Scores, AScoreTakesThePlaceBelowEveryEqualOne) {
    struct Case { std::vector<int> before; int score; std::vector<int> after; };
    const std::vector<Case> cases = {
        {{500, 300, 300, 0, 0, 0, 0, 0, 0, 7}, 300, {500, 300, 300, 300, 0, 0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 1}, 1, {9, 8, 7, 6, 5, 4, 3, 2, 1, 1}},
        {{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 100, {100, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {{5, 50, 0, 0, 0, 0, 0, 0, 0, 0}, 10, {10, 5, 50, 0, 0, 0, 0, 0, 0, 0}},     // unsorted, as read
        {{3, -4, -9, 0, 0, 0, 0, 0, 0, 0}, 0, {3, 0, -4, -9, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::copy(c.before.begin(), c.before.end(), best_scores);
        score = c.score;
        score_done = false;
        score_entry = no_score_entry;  // each case is a game of its own
        CheckScore();
        EXPECT_TRUE(score_done);
        EXPECT_EQ(Table(), c.after) << "score " << c.score;
    }
}

TEST_F(Scores, TheFileHoldsTenLittleEndianEntriesBestFirst) {
    const int table[10] = {70000, 1, -2, 0, 0, 0, 0, 0, 0, 2147483647};
    std::copy(table, table + 10, best_scores);
    SaveScore();
    const std::vector<unsigned char> bytes = ReadFile("Save/Score");
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 12),
              (std::vector<unsigned char>{0x70, 0x11, 0x01, 0, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF}));
    std::fill(best_scores, best_scores + 10, 5);
    ReadScore();
    EXPECT_EQ(Table(), std::vector<int>(table, table + 10));
}

TEST_F(Scores, ShortLongAndMissingFilesReadAsDefinedValues) {
    std::vector<unsigned char> long_file(44, 0);
    long_file[0] = 9;
    long_file[40] = 0x55;  // past the table: never read
    WriteFile("Save/Score", long_file);
    ReadScore();
    EXPECT_EQ(Table(), (std::vector<int>{9, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    SaveScore();
    EXPECT_EQ(ReadFile("Save/Score").size(), 40u);

    WriteFile("Save/Score", {0x10, 0x27, 0, 0, 0x05, 0});  // one and a half entries
    std::fill(best_scores, best_scores + 10, 77);
    ReadScore();
    EXPECT_EQ(Table(), (std::vector<int>{10000, 5, 0, 0, 0, 0, 0, 0, 0, 0}));

    fs::remove("Save/Score");
    std::fill(best_scores, best_scores + 10, 77);
    ReadScore();
    EXPECT_EQ(Table(), std::vector<int>(10, 0));
}

}  // namespace
