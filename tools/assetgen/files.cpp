#include "assetgen.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

bool WriteAssetFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int write_errno = errno;
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "assetgen: cannot write %s: %s\n", path.c_str(),
                     std::strerror(written ? errno : write_errno));
        return false;
    }
    return true;
}

bool MakeDirs(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash))) return false;
    if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
        struct stat st;
        if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
    }
    std::fprintf(stderr, "assetgen: cannot make directory %s: %s\n", path.c_str(),
                 std::strerror(errno == EEXIST ? ENOTDIR : errno));
    return false;
}
