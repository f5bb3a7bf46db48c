// The frame, layer by layer. The test build wraps SDL's blit and the text
// renderer at link time, so every blit of the game's own code is recorded
// with the destination it was asked for, before the blit clips it.
#include "game_fixture.h"

#include <string>

namespace {

struct Blit {
    SDL_Surface* image;
    std::string text;  // what the surface shows, for a rendered text
    bool whole;        // no source rectangle
    SDL_Rect source;
    int x, y;
};
std::vector<Blit> blits;
std::vector<std::pair<SDL_Surface*, std::string>> rendered;
std::vector<SDL_Surface*> freed;

}  // namespace

extern "C" {
int __real_SDL_UpperBlit(SDL_Surface*, SDL_Rect*, SDL_Surface*, SDL_Rect*);
SDL_Surface* __real_TTF_RenderText_Blended(TTF_Font*, const char*, SDL_Color);
void __real_SDL_FreeSurface(SDL_Surface*);

int __wrap_SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    Blit blit{src, "", srcrect == nullptr, srcrect ? *srcrect : SDL_Rect{}, dstrect->x, dstrect->y};
    for (auto& [surface, text] : rendered)
        if (surface == src) blit.text = text;
    blits.push_back(blit);
    return __real_SDL_UpperBlit(src, srcrect, dst, dstrect);
}
SDL_Surface* __wrap_TTF_RenderText_Blended(TTF_Font* f, const char* text, SDL_Color colour) {
    EXPECT_EQ(colour.r + colour.g + colour.b, 3 * 255) << "texts are white";
    SDL_Surface* surface = __real_TTF_RenderText_Blended(f, text, colour);
    rendered.push_back({surface, text});
    return surface;
}
void __wrap_SDL_FreeSurface(SDL_Surface* surface) {
    freed.push_back(surface);
    __real_SDL_FreeSurface(surface);
}
}

namespace {

class Frame : public GameTest {
protected:
    void DrawFrame() {
        blits.clear();
        rendered.clear();
        freed.clear();
        Draw();
    }
    // The blits of one image, in order, as positions.
    static std::vector<std::pair<int, int>> At(SDL_Surface* image) {
        std::vector<std::pair<int, int>> at;
        for (const Blit& b : blits)
            if (b.image == image) at.push_back({b.x, b.y});
        return at;
    }
    static std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const Blit& b : blits)
            if (!b.text.empty()) texts.push_back(b.text);
        return texts;
    }
    static const Blit* TextBlit(const std::string& text) {
        for (const Blit& b : blits)
            if (b.text == text) return &b;
        return nullptr;
    }
};

using Spots = std::vector<std::pair<int, int>>;

TEST_F(Frame, AFreshGameShowsTheCannonTheScoreAndThreeHearts) {
    NewGame();
    DrawFrame();
    ASSERT_GE(blits.size(), 6u);
    EXPECT_EQ(blits[0].image, background);
    EXPECT_EQ(At(background), (Spots{{0, 0}}));
    EXPECT_EQ(blits[1].image, delo);
    EXPECT_EQ(At(delo), (Spots{{400 - delo->w, 553 - delo->h}}));
    EXPECT_EQ(blits[2].text, "0");
    EXPECT_EQ(blits[2].x, 580);
    EXPECT_EQ(blits[2].y, 10);
    const int step = hearth->w + 5;
    EXPECT_EQ(At(hearth), (Spots{{750, 10}, {750 - step, 10}, {750 - 2 * step, 10}}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"0"}));
    EXPECT_TRUE(At(game_over).empty());
    EXPECT_TRUE(At(menu_nazev).empty());
    // Every rendered text is freed within the frame.
    for (auto& [surface, text] : rendered)
        EXPECT_NE(std::find(freed.begin(), freed.end(), surface), freed.end()) << text;
}

TEST_F(Frame, HeartsCountTheLivesAndNoneLeftShowsGameOver) {
    NewGame();
    const int step = hearth->w + 5;
    life = 4;
    score = -7;
    DrawFrame();
    EXPECT_EQ(At(hearth), (Spots{{750, 10}, {750 - step, 10}, {750 - 2 * step, 10}, {750 - 3 * step, 10}}));
    EXPECT_NE(TextBlit("-7"), nullptr);
    for (int lives : {0, -3}) {
        life = lives;
        DrawFrame();
        EXPECT_TRUE(At(hearth).empty());
        EXPECT_EQ(At(game_over), (Spots{{200, 150}}));
    }
}

TEST_F(Frame, TheTwinCannonTouchesTheFirstOnItsRight) {
    NewGame();
    bonusy_dve_dela = true;
    delo_rect.x = 100;
    DrawFrame();
    EXPECT_EQ(At(delo), (Spots{{100, 553 - delo->h}, {100 + delo->w, 553 - delo->h}}));
}

TEST_F(Frame, SpritesAreDrawnInListOrderOverTheHudOneFrameEach) {
    NewGame();
    AddSprite(700, 5, 2);
    Sprite& eye = *Sprites.back();
    while (eye.GetFrameNow() != 3) eye.Update();
    AddSprite(720, 8, 21);
    DrawFrame();
    std::vector<SDL_Surface*> order;
    for (const Blit& b : blits) order.push_back(b.image);
    const auto hearts_end = std::find(order.rbegin(), order.rend(), hearth).base();
    ASSERT_EQ(order.end() - hearts_end, 2);  // nothing but the two sprites after the HUD
    const Blit& first = *(blits.end() - 2);
    const Blit& second = *(blits.end() - 1);
    EXPECT_EQ(first.image, oko);
    EXPECT_EQ(first.x, eye.GetPositionX());
    EXPECT_EQ(first.y, 5);
    const int w = oko->w / 8;
    EXPECT_EQ(first.source.x, 3 * w);
    EXPECT_EQ(first.source.y, 0);
    EXPECT_EQ(first.source.w, w);
    EXPECT_EQ(first.source.h, oko->h);
    EXPECT_EQ(second.image, bonus_rychlost);
    EXPECT_EQ(second.x, 720);
    // The blit clipped its own copy: the eye half off the top keeps its place.
    eye.SetPositionY(-10);
    DrawFrame();
    EXPECT_EQ(eye.GetPositionY(), -10);
}

TEST_F(Frame, TheBossCoversTheSpritesAndItsBarHasASegmentPerHitPoint) {
    NewGame();
    AddSprite(300, 300, 3);
    boss_attack = true;
    boss_rect.x = -30;  // partly off the top left: the blit clips its rectangle
    boss_rect.y = -100;
    boss_zivoty = 150;
    life = 0;
    DrawFrame();
    EXPECT_EQ(At(boss), (Spots{{-30, -100}}));
    Spots bar;
    for (int i = 0; i < 150; ++i) bar.push_back({50 + i * boss_zivot->w, 15});
    EXPECT_EQ(At(boss_zivot), bar);
    EXPECT_LE(50 + 150 * boss_zivot->w, 800);
    std::vector<SDL_Surface*> order;
    for (const Blit& b : blits)
        if (b.image == oko_strela || b.image == boss || b.image == game_over) order.push_back(b.image);
    EXPECT_EQ(order, (std::vector<SDL_Surface*>{oko_strela, boss, game_over}));
    boss_zivoty = -1;
    DrawFrame();
    EXPECT_TRUE(At(boss_zivot).empty());
    boss_attack = false;
    DrawFrame();
    EXPECT_TRUE(At(boss).empty());
}

TEST_F(Frame, TheMenuListsTheTenBestScoresOneLineSkipApart) {
    const int table[10] = {9000, 800, 70, 6, 5, 4, 3, 2, 1, -1};
    std::copy(table, table + 10, best_scores);
    AddSprite(300, 300, 2);
    DrawFrame();
    EXPECT_TRUE(At(delo).empty());
    EXPECT_TRUE(At(hearth).empty());
    EXPECT_EQ(At(menu_nazev), (Spots{{240, 50}}));
    const Blit* heading = TextBlit("The Best Score");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->x, 340);
    EXPECT_EQ(heading->y, 200);
    const int skip = TTF_FontLineSkip(font);
    std::vector<std::string> expected_texts = {"The Best Score"};
    for (int i = 0; i < 10; ++i) {
        const std::string line = std::to_string(table[i]);
        expected_texts.push_back(line);
        const Blit* b = TextBlit(line);
        ASSERT_NE(b, nullptr) << line;
        EXPECT_EQ(b->x, 370);
        EXPECT_EQ(b->y, 200 + (2 + i) * skip) << line;
    }
    EXPECT_EQ(Texts(), expected_texts);
    // The living world is drawn first, under the title.
    std::vector<SDL_Surface*> order;
    for (const Blit& b : blits) order.push_back(b.image);
    EXPECT_LT(std::find(order.begin(), order.end(), oko), std::find(order.begin(), order.end(), menu_nazev));
}

TEST_F(Frame, ThePausePictureLiesOverEverythingAndTheKeysAreMagenta) {
    NewGame();
    AddSprite(300, 300, 2);
    Game::pause = true;
    DrawFrame();
    EXPECT_EQ(blits.back().image, text_pause);
    EXPECT_EQ(blits.back().x, 300);
    EXPECT_EQ(blits.back().y, 250);
    const Uint32 magenta = SDL_MapRGB(delo->format, 255, 0, 255);
    for (SDL_Surface* overlay : {delo, hearth, text_pause, oko}) {
        EXPECT_TRUE(overlay->flags & SDL_SRCCOLORKEY);
        EXPECT_EQ(overlay->format->colorkey, magenta);
    }
    EXPECT_FALSE(background->flags & SDL_SRCCOLORKEY);
}

TEST_F(Frame, TheFrameReachesTheScreenAndNothingIsDrawnWithoutOne) {
    DrawFrame();
    SDL_LockSurface(screen);
    SDL_LockSurface(background);
    auto pixel = [](SDL_Surface* s, int x, int y) {
        Uint8 r, g, b;
        const Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
        Uint32 v = 0;
        for (int i = 0; i < s->format->BytesPerPixel; ++i) v |= Uint32(p[i]) << (8 * i);
        SDL_GetRGB(v, s->format, &r, &g, &b);
        return (r << 16) | (g << 8) | b;
    };
    EXPECT_EQ(pixel(screen, 5, 590), pixel(background, 5, 590));
    SDL_UnlockSurface(background);
    SDL_UnlockSurface(screen);
    screen = nullptr;
    DrawFrame();
    EXPECT_TRUE(blits.empty());
    screen = SDL_GetVideoSurface();
}

// Sheets kept in the screen's format show exactly the pixels the files hold:
// the same two frames drawn from them and from the files as loaded.
TEST_F(Frame, SheetsInTheScreensFormatShowTheFilesPixels) {
    auto stage = [](bool game) {
        StartGame();
        if (game) {
            bonusy_dve_dela = true;
            life = 2;
            score = 12345;
            boss_attack = true;
            boss_rect.x = 280;
            boss_rect.y = -20;  // clipped at the top edge
            boss_zivoty = 77;
            int x = -10;
            for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 20, 21, 22, 30, 40, 41, 42, 43}) {
                AddSprite(x, 120 + (x * 7) % 300, code);
                x += 37;
            }
            Sprites[3]->SetExplosion(explosion_small);
            for (int i = 0; i < 9; ++i)
                for (Sprite* sprite : Sprites) sprite->Update();  // frames other than the first
        } else {
            menu = true;
            Game::pause = true;
            life = 0;
            best_scores[0] = 999;
        }
    };
    auto frame = [&stage](bool game) {
        stage(game);
        Draw();
        SDL_LockSurface(screen);
        const Uint8* pixels = static_cast<const Uint8*>(screen->pixels);
        std::vector<Uint8> copy(pixels, pixels + screen->pitch * screen->h);
        SDL_UnlockSurface(screen);
        ClearSprites();
        return copy;
    };
    const std::vector<Uint8> converted[] = {frame(true), frame(false)};
    ASSERT_EQ(background->format->BitsPerPixel, screen->format->BitsPerPixel);
    for (const ImageAsset& image : image_assets) {
        SDL_FreeSurface(*image.global);
        *image.global = SDL_LoadBMP(image.file);
        ASSERT_NE(*image.global, nullptr) << image.file;
        ASSERT_EQ((*image.global)->format->BitsPerPixel, 24) << image.file;
    }
    ResetCannon();
    EXPECT_TRUE(frame(true) == converted[0]) << "a game frame changed";
    EXPECT_TRUE(frame(false) == converted[1]) << "the menu frame changed";
}

}  // namespace
