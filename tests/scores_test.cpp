// The best-score table and its file.
#include "game_fixture.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The names in Save once a save is over: no temporary file may stay behind.
std::vector<std::string> SaveDirectory() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("Save")) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Standard error goes to a pipe for the save: unlike a file, a pipe is not
// cut short by the size limit that makes a full disk.
std::string SaveAndCaptureErrors() {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return "no pipe";
    std::fflush(stderr);
    const int saved = dup(2);
    dup2(pipe_ends[1], 2);
    close(pipe_ends[1]);
    SaveScore();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string errors;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipe_ends[0], buffer, sizeof buffer)) > 0) errors.append(buffer, size_t(n));
    close(pipe_ends[0]);
    return errors;
}

const std::vector<unsigned char> old_table = {0x10, 0x27, 0, 0, 0xE8, 0x03, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                                              0,    0,    0, 0, 0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                              0,    0,    0, 0, 0,    0,    0, 0};

TEST_F(Scores, AMissingSaveDirectoryIsMadeAndTheFileKeepsItsMode) {
    fs::remove_all("Save");
    best_scores[0] = 4242;
    EXPECT_EQ(SaveAndCaptureErrors(), "");
    EXPECT_EQ(ReadFile("Save/Score").size(), 40u);
    EXPECT_EQ(SaveDirectory(), std::vector<std::string>{"Score"});
    struct stat made;
    ASSERT_EQ(stat("Save/Score", &made), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(made.st_mode & 0777, 0666 & ~mask) << "as any file the player makes";

    // A mode the player chose for the file survives its replacement.
    ASSERT_EQ(chmod("Save/Score", 0640), 0);
    EXPECT_EQ(SaveAndCaptureErrors(), "");
    ASSERT_EQ(stat("Save/Score", &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0640u);
    ReadScore();
    EXPECT_EQ(best_scores[0], 4242);
}

TEST_F(Scores, WhatCannotBeSavedIsSaidOnceAndTheOldFileStaysWhole) {
    struct Case {
        const char* what;
        void (*arrange)();
        const char* reason;
    };
    const Case cases[] = {
        {"a directory in the place of the file", [] { fs::create_directory("Save/Score"); },
         "Is a directory"},
        {"a file in the place of the directory",
         [] {
             fs::remove_all("Save");
             WriteFile("Save", old_table);
         },
         "Not a directory"},
        // The disk fills up after the first few bytes of the new file.
        {"a full disk",
         [] {
             WriteFile("Save/Score", old_table);
             signal(SIGXFSZ, SIG_IGN);
             const rlimit small = {12, RLIM_INFINITY};
             setrlimit(RLIMIT_FSIZE, &small);
         },
         "File too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all("Save");
        fs::create_directory("Save");
        c.arrange();
        best_scores[0] = 99999;
        const std::string errors = SaveAndCaptureErrors();
        const rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &unlimited);
        signal(SIGXFSZ, SIG_DFL);
        EXPECT_EQ(errors, std::string("Unable to save best scores: ") + c.reason + "\n");
        if (fs::is_directory("Save")) {
            if (fs::is_regular_file("Save/Score")) {
                EXPECT_EQ(ReadFile("Save/Score"), old_table);
            }
            EXPECT_EQ(SaveDirectory(), std::vector<std::string>{"Score"});
        } else {
            EXPECT_EQ(ReadFile("Save"), old_table);
        }
    }
    fs::remove_all("Save");
}

}  // namespace
