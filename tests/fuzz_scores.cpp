// libFuzzer's target for the score file: any file contents at all, read by
// ReadScore, must give ten defined entries from its first 40 bytes (zeros
// where it is short) without a read out of bounds, and SaveScore must then
// write exactly those 40 bytes back.
#include "scores.h"
#include "state.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

void Require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_scores: %s\n", what);
    std::abort();
}

// Each run works in a directory of its own and comes back, so that the
// corpus and any failing input stay where the fuzzer was started.
std::string work_dir;
int started_in = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string dir = (std::filesystem::temp_directory_path() / "orbalune-fuzz-XXXXXX").string();
    Require(mkdtemp(dir.data()) != nullptr, "no working directory");
    work_dir = dir;
    std::filesystem::create_directory(work_dir + "/Save");
    started_in = open(".", O_RDONLY | O_DIRECTORY);
    Require(started_in >= 0, "cannot hold on to the starting directory");
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(work_dir, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Require(chdir(work_dir.c_str()) == 0, "cannot enter the working directory");
    std::FILE* file = std::fopen("Save/Score", "wb");
    Require(file != nullptr, "cannot write the score file");
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);

    uint8_t expected[40] = {};
    std::memcpy(expected, data, size < 40 ? size : 40);
    // Whatever the table held before must not show through.
    std::memset(Game::best_scores, 0xA5, sizeof Game::best_scores);
    Game::ReadScore();
    for (int k = 0; k < 10; ++k) {
        const uint8_t* b = expected + 4 * k;
        const uint32_t entry = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        Require(Game::best_scores[k] == int32_t(entry), "an entry is not the one the file holds");
    }

    Game::SaveScore();
    uint8_t saved[41];
    file = std::fopen("Save/Score", "rb");
    Require(file != nullptr, "the score file is gone after saving");
    const size_t length = std::fread(saved, 1, sizeof saved, file);
    std::fclose(file);
    Require(length == 40 && std::memcmp(saved, expected, 40) == 0, "the saved file is not the table read");
    Require(fchdir(started_in) == 0, "cannot go back to the starting directory");
    return 0;
}
