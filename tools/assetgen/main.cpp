// orbalune-assetgen DATA_DIR [images|sounds|music]...
// Writes the game's images, sounds and music into DATA_DIR; with no step
// named it makes all three.
#include "assetgen.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool MakeDir(const std::string& path) {
    if (mkdir(path.c_str(), 0755) == 0) return true;
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    std::perror(path.c_str());
    return false;
}

struct Step {
    const char* name;
    const char* dir;
    bool (*run)(const std::string&);
};

const Step steps[] = {
    {"images", "IMG",   PaintImages},
    {"sounds", "Sound", MakeSounds},
    {"music",  "Music", ComposeMusic},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [images|sounds|music]...\n", argv[0]);
        return 2;
    }
    const std::string data_dir = argv[1];
    if (!MakeDir(data_dir)) return 1;
    for (const Step& step : steps) {
        bool wanted = argc == 2;
        for (int i = 2; i < argc; ++i) wanted = wanted || std::strcmp(argv[i], step.name) == 0;
        if (!wanted) continue;
        if (!MakeDir(data_dir + "/" + step.dir) || !step.run(data_dir)) return 1;
    }
    return 0;
}
