#include "scores.h"

#include "state.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace Game {

namespace {

const char* const score_file = "Save/Score";
const char* const save_dir = "Save";
constexpr int table_size = 10;

// The mode the file is written with: the old file's, else what the player's
// umask gives a new file (mkstemp alone would keep it to its owner).
mode_t ScoreFileMode() {
    struct stat old;
    if (stat(score_file, &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 0777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes the whole file or leaves the old one as it was: the bytes go to a
// fresh file beside it, which replaces the old one only once it is complete
// and on disk, so a full disk or a crash halfway never costs the table. A
// score file the player made read-only is respected, not replaced. Returns 0,
// or the errno of what stopped it.
int WriteWhole(const unsigned char* bytes, size_t size) {
    if (mkdir(save_dir, 0777) != 0 && errno != EEXIST) return errno;
    if (access(score_file, F_OK) == 0 && access(score_file, W_OK) != 0) return errno;
    const mode_t mode = ScoreFileMode();
    char temp[] = "Save/Score.XXXXXX";
    const int fd = mkstemp(temp);
    if (fd < 0) return errno;
    int error = fchmod(fd, mode) == 0 ? 0 : errno;
    for (size_t done = 0; !error && done < size;) {
        const ssize_t n = write(fd, bytes + done, size - done);
        if (n > 0) {
            done += size_t(n);
        } else if (n == 0) {
            error = ENOSPC;
        } else if (errno != EINTR) {
            error = errno;
        }
    }
    if (!error && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && !error) error = errno;
    if (!error && std::rename(temp, score_file) != 0) error = errno;
    if (error) unlink(temp);
    return error;
}

}  // namespace

void ReadScore() {
    // Entries a short or missing file does not cover read as zero.
    unsigned char bytes[4 * table_size] = {};
    if (std::FILE* file = std::fopen(score_file, "rb")) {
        // A short read leaves the rest of the entries zero, as a short file should.
        const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
        static_cast<void>(got);
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
    if (const int error = WriteWhole(bytes, sizeof bytes))
        std::fprintf(stderr, "Unable to save best scores: %s\n", std::strerror(error));
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
