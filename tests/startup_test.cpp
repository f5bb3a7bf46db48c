// The player's binary end to end: every bad input it may meet, from a damaged
// score file to a missing sound card, each with the exact bytes it prints,
// its exit value and what is left of the best scores afterwards.
#include "catalogue.h"
#include "sandbox.h"

#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Env = std::vector<std::pair<const char*, std::string>>;

// How a run ends: by itself (a failed start-up), or by a signal once the game
// is listening for it, as from a desktop's logout or Ctrl-C in a terminal.
enum class End { kByItself, kTerminate, kInterrupt };

struct RunOptions {
    Env env;
    End end = End::kTerminate;
    int play_ms = 300;           // how long it plays once it would hear the signal
    bool modes_bite = false;     // as root, without root's power over file modes
    rlim_t file_size_limit = RLIM_INFINITY;  // a disk that is full past this size
};

struct Outcome {
    std::string out;  // standard output, byte for byte
    std::string err;  // standard error, where any sanitizer would report too
    int exit_value;   // -1 when it did not exit normally
};

// Root passes every file mode by two capabilities; taken out of what the
// process may ever hold, they make the modes bite for root as for a player,
// while root still owns the sandbox and the build. False where the system
// does not let them go.
bool DropPowerOverFileModes() {
    return geteuid() != 0 || (prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0 &&
                              prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) == 0);
}

bool ModesCanBite() {
    const pid_t probe = fork();
    if (probe == 0) _exit(DropPowerOverFileModes() ? 0 : 1);
    int status = 0;
    waitpid(probe, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether the process has a handler of its own for the signal.
bool Catches(pid_t pid, int signal_number) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("SigCgt:", 0) != 0) continue;
        const unsigned long long caught = std::stoull(line.substr(7), nullptr, 16);
        return caught >> (signal_number - 1) & 1;
    }
    return false;
}

[[noreturn]] void StartChild(const Sandbox& sandbox, const RunOptions& run, int out, int err) {
    dup2(out, 1);
    dup2(err, 2);
    if (chdir(sandbox.Dir().c_str()) != 0) _exit(127);
    for (auto& [name, value] : run.env) setenv(name, value.c_str(), 1);
    // As from a terminal: both signals at their defaults, none blocked.
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (run.file_size_limit != RLIM_INFINITY) {
        signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
        const rlimit limit = {run.file_size_limit, run.file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (run.modes_bite && !DropPowerOverFileModes()) _exit(126);
    execl(ORBALUNE_BINARY, ORBALUNE_BINARY, static_cast<char*>(nullptr));
    _exit(127);
}

// Starts the game in the sandbox and collects everything it prints until it
// has ended; a run that hangs is killed after a minute.
Outcome RunGame(const Sandbox& sandbox, const RunOptions& run) {
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) return {"", "pipe failed", -1};
    const pid_t child = fork();
    if (child == 0) StartChild(sandbox, run, out[1], err[1]);
    close(out[1]);
    close(err[1]);

    const int signal_number = run.end == End::kInterrupt ? SIGINT : SIGTERM;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    std::optional<Clock::time_point> listening;
    bool signalled = run.end == End::kByItself;
    Outcome outcome{"", "", -1};
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* texts[2] = {&outcome.out, &outcome.err};
    int open = 2;
    while (open > 0) {
        poll(fds, 2, 10);
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                texts[i]->append(buffer, size_t(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
        if (!signalled) {
            if (!listening && Catches(child, signal_number)) listening = Clock::now();
            if (listening && Clock::now() - *listening >= std::chrono::milliseconds(run.play_ms)) {
                kill(child, signal_number);
                signalled = true;
            }
        }
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            outcome.err += "[killed: still running after a minute]";
            break;
        }
    }
    for (pollfd& fd : fds)
        if (fd.fd >= 0) close(fd.fd);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) outcome.exit_value = WEXITSTATUS(status);
    return outcome;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What is left where the best scores were looked for.
struct Left {
    enum Kind { kNothing, kFile, kDirectory } kind;
    std::string bytes;  // of the file
    bool operator==(const Left& other) const { return kind == other.kind && bytes == other.bytes; }
};

std::ostream& operator<<(std::ostream& os, const Left& left) {
    const char* kinds[] = {"nothing", "a file", "a directory"};
    os << kinds[left.kind];
    if (left.kind != Left::kFile) return os;
    os << " of " << left.bytes.size() << " bytes:";
    for (size_t i = 0; i < left.bytes.size() && i < 48; ++i)
        os << ' ' << int(static_cast<unsigned char>(left.bytes[i]));
    return os;
}

Left Look(const fs::path& path) {
    if (fs::is_directory(path)) return {Left::kDirectory, ""};
    if (!fs::is_regular_file(path)) return {Left::kNothing, ""};
    // The case may have taken the player's own permission away.
    fs::permissions(path, fs::perms::owner_read, fs::perm_options::add);
    return {Left::kFile, ReadBytes(path)};
}

// The table a player brings, as the file holds it.
std::string Encoded(std::initializer_list<int32_t> entries) {
    std::string bytes;
    for (int32_t entry : entries)
        for (int i = 0; i < 4; ++i) bytes += char(uint32_t(entry) >> (8 * i) & 0xFF);
    return bytes;
}
const std::string table = Encoded({10000, 1000, 500, 20, 0, 0, 0, 0, 0, -1});
// One byte past the table: a game that quits normally rewrites it as 40.
const std::string table_and_more = table + "\x7F";
const std::string zeros(40, '\0');

std::string Padded(const std::string& bytes) { return bytes + std::string(40 - bytes.size(), '\0'); }

struct BadInput {
    std::string name;                       // the test's own name
    std::function<void(Sandbox&)> arrange;  // on a sandbox with every asset and an empty Save
    RunOptions run;
    std::string out, err;
    int exit_value;
    const char* looked_at;  // the path whose state is checked afterwards
    Left left;
    // Debian's MIDI synthesiser says itself why a track does not load; its
    // lines are its own and left out of the comparison.
    bool synthesiser_speaks = false;
};

void PrintTo(const BadInput& c, std::ostream* os) { *os << c.name; }

std::string WithoutSynthesiser(const std::string& err) {
    std::istringstream lines(err);
    std::string line, rest;
    while (std::getline(lines, line))
        if (line.rfind("fluidsynth: ", 0) != 0) rest += line + "\n";
    return rest;
}

void PutScores(Sandbox& sandbox, const std::string& bytes) { WriteBytes(sandbox.Path("Save/Score"), bytes); }

// The asset directory as a real one of links, with some files of it damaged.
void Damage(Sandbox& sandbox, const std::vector<std::string>& files,
            const std::function<std::string(std::string)>& how) {
    const fs::path relative_dir = fs::path(files.front()).parent_path();
    const fs::path dir = sandbox.Path(relative_dir);
    const fs::path data = Sandbox::Data(relative_dir.c_str());
    fs::remove(dir);
    fs::create_directory(dir);
    for (const auto& entry : fs::directory_iterator(data))
        fs::create_symlink(entry.path(), dir / entry.path().filename());
    for (const std::string& file : files) {
        fs::remove(sandbox.Path(file));
        const std::string bytes = how(ReadBytes(Sandbox::Data(file.c_str())));
        if (!bytes.empty()) WriteBytes(sandbox.Path(file), bytes);
    }
}

// The three ways an asset goes bad; an empty result leaves it out.
struct Fault {
    const char* name;
    std::function<std::string(std::string)> how;
};
const Fault faults[] = {
    {"missing", [](std::string) { return std::string(); }},
    {"truncated", [](std::string bytes) { return bytes.substr(0, bytes.size() / 2); }},
    {"not_its_kind", [](std::string) { return std::string("This is no picture, sound or font.\n"); }},
};

std::string Identifier(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return text;
}

std::vector<BadInput> BadInputs() {
    std::vector<BadInput> cases;
    auto scores = [](std::string bytes) { return [bytes](Sandbox& s) { PutScores(s, bytes); }; };
    auto saved = [](std::string bytes) { return Left{Left::kFile, Padded(bytes.substr(0, 40))}; };
    const Left kept = {Left::kFile, table_and_more};
    const RunOptions quiet_run;

    // The score file: whatever it holds, the game plays and saves ten entries.
    cases.push_back({"score_file_missing", [](Sandbox&) {}, quiet_run, "", "", 0, "Save/Score", saved("")});
    for (size_t size : {0, 1, 7, 39, 41, 4096}) {
        std::string bytes = (table + std::string(4096, '\xAB')).substr(0, size);
        cases.push_back({"score_file_of_" + std::to_string(size) + "_bytes", scores(bytes), quiet_run, "", "", 0,
                         "Save/Score", saved(bytes)});
    }
    RunOptions modes_bite;
    modes_bite.modes_bite = true;
    cases.push_back({"score_file_unreadable",
                     [](Sandbox& s) {
                         PutScores(s, table_and_more);
                         fs::permissions(s.Path("Save/Score"), fs::perms::none);
                     },
                     modes_bite, "", "Unable to save best scores: Permission denied\n", 0, "Save/Score", kept});
    cases.push_back({"score_file_read_only",
                     [](Sandbox& s) {
                         PutScores(s, table_and_more);
                         fs::permissions(s.Path("Save/Score"), fs::perms::owner_read | fs::perms::group_read |
                                                                   fs::perms::others_read);
                     },
                     modes_bite, "", "Unable to save best scores: Permission denied\n", 0, "Save/Score", kept});
    cases.push_back({"score_file_a_directory", [](Sandbox& s) { fs::create_directory(s.Path("Save/Score")); },
                     quiet_run, "", "Unable to save best scores: Is a directory\n", 0, "Save/Score",
                     {Left::kDirectory, ""}});

    // The Save directory.
    cases.push_back({"save_missing", [](Sandbox& s) { fs::remove(s.Path("Save")); }, quiet_run, "", "", 0,
                     "Save/Score", saved("")});
    cases.push_back({"save_read_only",
                     [](Sandbox& s) {
                         PutScores(s, table_and_more);
                         fs::permissions(s.Path("Save"), fs::perms::owner_read | fs::perms::owner_exec |
                                                             fs::perms::others_read | fs::perms::others_exec);
                     },
                     modes_bite, "", "Unable to save best scores: Permission denied\n", 0, "Save/Score", kept});
    cases.push_back({"save_a_file",
                     [](Sandbox& s) {
                         fs::remove(s.Path("Save"));
                         WriteBytes(s.Path("Save"), table_and_more);
                     },
                     quiet_run, "", "Unable to save best scores: Not a directory\n", 0, "Save", kept});
    RunOptions full_disk;
    full_disk.file_size_limit = 12;
    cases.push_back({"disk_full", scores(table_and_more), full_disk,
                     "", "Unable to save best scores: File too large\n", 0, "Save/Score", kept});

    // The ways a normal run ends: both signals take the normal quit path.
    cases.push_back({"terminated", scores(table_and_more), quiet_run, "", "", 0, "Save/Score", saved(table)});
    RunOptions interrupted;
    interrupted.end = End::kInterrupt;
    cases.push_back({"interrupted", scores(table_and_more), interrupted, "", "", 0, "Save/Score", saved(table)});

    // No device: the start-up fails with its message and saves nothing.
    RunOptions no_video;
    no_video.end = End::kByItself;
    no_video.env = {{"SDL_VIDEODRIVER", "no-such-driver"}};
    // Windows-1250: 0xF8 is r with caron.
    cases.push_back({"no_video_device", scores(table_and_more), no_video,
                     "Inicializace SDL se nezda\xF8ila: No available video device\n", "", 1, "Save/Score", kept});
    RunOptions no_audio;
    no_audio.end = End::kByItself;
    no_audio.env = {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/nonexistent/orbalune/sound.raw"}};
    cases.push_back({"no_audio_device", scores(table_and_more), no_audio,
                     "Unable to initializace SDL_mixer: Couldn't open /nonexistent/orbalune/sound.raw\n", "", 1,
                     "Save/Score", kept});

    // Every asset, each way it can go bad: the start-up names the file and why.
    RunOptions fails;
    fails.end = End::kByItself;
    struct Kind { std::vector<const char*> files; const char* truncated; const char* other; };
#define ORBALUNE_IMAGE_FILE(global, file, frames) file,
#define ORBALUNE_SOUND_FILE(global, file) file,
    const Kind kinds[] = {
        {{ORBALUNE_IMAGES(ORBALUNE_IMAGE_FILE)}, "Error reading from datastream", "File is not a Windows BMP file"},
        {{ORBALUNE_SOUNDS(ORBALUNE_SOUND_FILE)}, "Error reading from datastream", "Unrecognized sound file type"},
    };
#undef ORBALUNE_IMAGE_FILE
#undef ORBALUNE_SOUND_FILE
    for (const Kind& kind : kinds) {
        for (const char* file : kind.files) {
            const std::string reasons[] = {std::string("Couldn't open ") + file, kind.truncated, kind.other};
            for (int f = 0; f < 3; ++f) {
                cases.push_back({Identifier(std::string(file) + "_" + faults[f].name),
                                 [file, f](Sandbox& s) {
                                     PutScores(s, table_and_more);
                                     Damage(s, {file}, faults[f].how);
                                 },
                                 fails, "Unable to load " + std::string(file) + ": " + reasons[f] + "\n", "", 1,
                                 "Save/Score", kept});
            }
        }
    }
    // The font opens only whole enough; a font cut in half still opens and
    // the game draws with what is left of it.
    const std::string font = ORBALUNE_FONT_FILE;
    const std::pair<int, std::string> font_failures[] = {{0, "Couldn't open " + font}, {2, "Couldn't load font file"}};
    for (auto& [f, reason] : font_failures)
        cases.push_back({Identifier(font + "_" + faults[f].name),
                         [font, f = f](Sandbox& s) {
                             PutScores(s, table_and_more);
                             Damage(s, {font}, faults[f].how);
                         },
                         fails, "Unable to open font: " + reason + "\n", "", 1, "Save/Score", kept});
    RunOptions drawing = quiet_run;
    drawing.play_ms = 1000;
    cases.push_back({Identifier(font + "_truncated"),
                     [font](Sandbox& s) {
                         PutScores(s, table_and_more);
                         Damage(s, {font}, faults[1].how);
                     },
                     drawing, "", "", 0, "Save/Score", saved(table)});

    // The music is never tested at load: without a playable track the game
    // plays in silence.
#define ORBALUNE_MUSIC_FILE(file) file,
    const std::vector<std::string> tracks = {ORBALUNE_MUSIC(ORBALUNE_MUSIC_FILE)};
#undef ORBALUNE_MUSIC_FILE
    for (const Fault& fault : faults)
        cases.push_back({std::string("every_track_") + fault.name,
                         [tracks, &fault](Sandbox& s) {
                             PutScores(s, table_and_more);
                             Damage(s, tracks, fault.how);
                         },
                         drawing, "", "", 0, "Save/Score", saved(table), true});
    return cases;
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, EndsAsItShouldAndKeepsWhatItCan) {
    const BadInput& c = GetParam();
    if (c.run.modes_bite && !ModesCanBite()) GTEST_SKIP() << "file modes cannot be made to bite here";
    Sandbox sandbox;
    c.arrange(sandbox);
    const Outcome outcome = RunGame(sandbox, c.run);
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(c.synthesiser_speaks ? WithoutSynthesiser(outcome.err) : outcome.err, c.err);
    EXPECT_EQ(outcome.exit_value, c.exit_value);
    EXPECT_EQ(Look(sandbox.Path(c.looked_at)), c.left);
    if (fs::is_directory(sandbox.Path("Save"))) {
        fs::permissions(sandbox.Path("Save"), fs::perms::owner_all, fs::perm_options::add);
        for (const auto& entry : fs::directory_iterator(sandbox.Path("Save")))
            EXPECT_EQ(entry.path().filename(), "Score") << "left behind";
    }
}

INSTANTIATE_TEST_SUITE_P(RealBinary, BadInputTest, ::testing::ValuesIn(BadInputs()),
                         [](const ::testing::TestParamInfo<BadInput>& info) { return info.param.name; });

TEST(StartUp, AMissingTrackIsHarmless) {
    Sandbox sandbox({"IMG", "Sound", "Font"});
    fs::create_directory(sandbox.Path("Music"));  // an empty playlist directory
    RunOptions run;
    run.play_ms = 1500;
    const Outcome outcome = RunGame(sandbox, run);
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
    RunOptions run;
    run.play_ms = 2000;
    const Outcome outcome = RunGame(sandbox, run);
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
