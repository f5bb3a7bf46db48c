// orbalune-assetgen DIR [images|sounds|music|icon]...
// Writes the game's images, sounds and music into DIR, or the desktop icons;
// with no step named it makes what the game reads: images, sounds and music.
#include "assetgen.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Step {
    const char* name;
    const char* dir;        // made inside DIR first
    bool (*run)(const std::string&);
    bool game_data;         // made when no step is named
};

const Step steps[] = {
    {"images", "IMG",   PaintImages,  true},
    {"sounds", "Sound", MakeSounds,   true},
    {"music",  "Music", ComposeMusic, true},
    {"icon",   ".",     PaintIcon,    false},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [images|sounds|music|icon]...\n", argv[0]);
        return 2;
    }
    const std::string data_dir = argv[1];
    if (!MakeDirs(data_dir)) return 1;
    for (const Step& step : steps) {
        bool wanted = argc == 2 && step.game_data;
        for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], step.name) == 0;
        if (!wanted) continue;
        if (!MakeDirs(data_dir + "/" + step.dir) || !step.run(data_dir)) return 1;
    }
    return 0;
}
