// A throwaway working directory for one test process: the generated assets
// linked in, a Save directory of its own, so no test ever reads or
// overwrites a player's best scores.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace fs = std::filesystem;

class Sandbox {
public:
    // Links the asset directories named (of IMG, Sound, Music, Font) and makes
    // an empty Save directory.
    explicit Sandbox(std::initializer_list<const char*> assets = {"IMG", "Sound", "Music", "Font"}) {
        std::string pattern = (fs::temp_directory_path() / "orbalune-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            ADD_FAILURE() << "cannot make " << pattern;
            return;
        }
        dir_ = pattern;
        for (const char* asset : assets) fs::create_directory_symlink(Data(asset), dir_ / asset);
        fs::create_directory(dir_ / "Save");
    }
    ~Sandbox() {
        std::error_code ignored;
        if (!dir_.empty()) fs::remove_all(dir_, ignored);
    }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const fs::path& Dir() const { return dir_; }
    fs::path Path(const std::string& relative) const { return dir_ / relative; }

    // The asset directory as a real copy, so a test can take files out of it.
    void Copy(const char* asset) {
        fs::remove(dir_ / asset);
        fs::copy(Data(asset), dir_ / asset, fs::copy_options::recursive);
    }

    static fs::path Data(const char* asset) { return fs::path(ORBALUNE_DATA_DIR) / asset; }

private:
    fs::path dir_;
};

// Makes the sandbox the working directory for as long as it lives.
class InSandbox {
public:
    explicit InSandbox(const Sandbox& sandbox) : previous_(fs::current_path()) {
        fs::current_path(sandbox.Dir());
    }
    ~InSandbox() { fs::current_path(previous_); }

private:
    fs::path previous_;
};
