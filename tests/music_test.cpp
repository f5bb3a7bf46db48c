// The music: a track that ends, however soon, is followed by another. The
// test build wraps Mix_PlayMusic at link time so that a track can end while
// it is still being started, as the mixer's thread may let it.
#include "game_fixture.h"

namespace {

int tracks_started = 0;
bool end_at_once = false;

}  // namespace

extern "C" {
int __real_Mix_PlayMusic(Mix_Music*, int);

int __wrap_Mix_PlayMusic(Mix_Music* track, int loops) {
    ++tracks_started;
    const int result = __real_Mix_PlayMusic(track, loops);
    // The mixer's thread reports the end before the call has returned.
    if (end_at_once) SetMusic();
    return result;
}
}

namespace {

class Music : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        tracks_started = 0;
    }
    void TearDown() override {
        end_at_once = false;
        GameTest::TearDown();
    }
};

TEST_F(Music, ATrackThatEndsWhileItStartsIsFollowedByAnother) {
    end_at_once = true;
    PlayMusic();
    EXPECT_FALSE(play) << "the end of the track was lost";
    end_at_once = false;
    NewGame();
    Update();
    EXPECT_EQ(tracks_started, 2);
    EXPECT_TRUE(play);
}

TEST_F(Music, ATrackThatEndsOnItsOwnIsFollowedWithinOneTick) {
    NewGame();
    Update();
    EXPECT_EQ(tracks_started, 0);
    SetMusic();
    Update();
    EXPECT_EQ(tracks_started, 1);
    EXPECT_TRUE(play);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

}  // namespace
