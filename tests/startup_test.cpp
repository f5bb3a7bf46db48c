// The player's binary end to end: the start-up failures with their exact
// bytes and exit value, and a normal run ended by the window system.
#include "sandbox.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Outcome {
    std::string out;  // standard output, byte for byte
    int exit_value;   // -1 when it did not exit normally
};

// Starts the game in the sandbox with extra environment settings; with a
// delay, asks it to terminate after that long, as a desktop's logout would.
Outcome RunGame(const Sandbox& sandbox, const std::vector<std::pair<const char*, std::string>>& env,
                int terminate_after_ms = -1) {
    int out[2];
    if (pipe(out) != 0) return {"pipe failed", -1};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        close(out[0]);
        close(out[1]);
        if (chdir(sandbox.Dir().c_str()) != 0) _exit(127);
        for (auto& [name, value] : env) setenv(name, value.c_str(), 1);
        execl(ORBALUNE_BINARY, ORBALUNE_BINARY, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    if (terminate_after_ms >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(terminate_after_ms));
        kill(child, SIGTERM);
    }
    Outcome outcome{"", -1};
    char buffer[512];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) outcome.out.append(buffer, size_t(n));
    close(out[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) outcome.exit_value = WEXITSTATUS(status);
    return outcome;
}

struct Failure {
    const char* what;
    std::vector<const char*> assets;            // directories the start-up finds
    const char* removed;                        // a file taken out of a copied directory
    std::vector<std::pair<const char*, std::string>> env;
    std::string expected;
};

TEST(StartUp, EachFailureIsReportedOnceAndEndsWithExitValueOne) {
    const std::vector<Failure> failures = {
        {"video fails", {"IMG", "Sound", "Music", "Font"}, nullptr,
         {{"SDL_VIDEODRIVER", "no-such-driver"}},
         // Windows-1250: 0xF8 is r with caron.
         "Inicializace SDL se nezda\xF8ila: No available video device\n"},
        {"font missing", {"IMG", "Sound", "Music"}, nullptr, {},
         "Unable to open font: Couldn't open Font/times.ttf\n"},
        {"audio device fails", {"IMG", "Sound", "Music", "Font"}, nullptr,
         {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/nonexistent/orbalune/sound.raw"}},
         "Unable to initializace SDL_mixer: Couldn't open /nonexistent/orbalune/sound.raw\n"},
        {"sound missing", {"IMG", "Music", "Font"}, "Sound/Power.wav", {},
         "Unable to load Sound/Power.wav: Couldn't open Sound/Power.wav\n"},
        {"image missing", {"Sound", "Music", "Font"}, "IMG/Boss.bmp", {},
         "Unable to load IMG/Boss.bmp: Couldn't open IMG/Boss.bmp\n"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        Sandbox sandbox(std::initializer_list<const char*>{});
        for (const char* asset : f.assets) fs::create_directory_symlink(Sandbox::Data(asset), sandbox.Path(asset));
        if (f.removed) {
            const std::string dir = fs::path(f.removed).parent_path().string();
            sandbox.Copy(dir.c_str());
            ASSERT_TRUE(fs::remove(sandbox.Path(f.removed)));
        }
        const Outcome outcome = RunGame(sandbox, f.env);
        EXPECT_EQ(outcome.out, f.expected);
        EXPECT_EQ(outcome.exit_value, 1);
        EXPECT_FALSE(fs::exists(sandbox.Path("Save/Score"))) << "a failed start-up saves nothing";
    }
}

TEST(StartUp, AMissingTrackIsHarmless) {
    Sandbox sandbox({"IMG", "Sound", "Font"});
    fs::create_directory(sandbox.Path("Music"));  // an empty playlist directory
    const Outcome outcome = RunGame(sandbox, {}, 1500);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.exit_value, 0);
}

TEST(StartUp, TerminatingANormalRunSavesTheBestScoresAndExitsWithZero) {
    Sandbox sandbox;
    {
        std::ofstream old(sandbox.Path("Save/Score"), std::ios::binary);
        const unsigned char table[40] = {0x10, 0x27, 0, 0, 0xE8, 0x03, 0, 0};  // 10000, 1000
        old.write(reinterpret_cast<const char*>(table), 40);
    }
    const Outcome outcome = RunGame(sandbox, {}, 2000);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.exit_value, 0);
    std::ifstream saved(sandbox.Path("Save/Score"), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 40u);
    EXPECT_EQ(bytes[0], 0x10);
    EXPECT_EQ(bytes[1], 0x27);
    EXPECT_EQ(bytes[4], 0xE8);
    EXPECT_EQ(bytes[5], 0x03);
}

}  // namespace
