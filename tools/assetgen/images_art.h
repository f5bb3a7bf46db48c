// The painters of every picture. Each one paints a single frame of its sheet
// on a fresh canvas of the frame's size; frame counts the sheet's frames.
#pragma once

#include "images_canvas.h"

using FramePainter = void (*)(Canvas& canvas, int frame, int frames);

// Scenery and effects (images_scenery.cpp).
void PaintBackground(Canvas& canvas, int frame, int frames);
void PaintBigExplosion(Canvas& canvas, int frame, int frames);
void PaintSmallExplosion(Canvas& canvas, int frame, int frames);
void PaintBoss(Canvas& canvas, int frame, int frames);
void PaintBossLife(Canvas& canvas, int frame, int frames);

// The player's side and the pick-ups (images_player.cpp).
void PaintCannon(Canvas& canvas, int frame, int frames);
void PaintCannonShot(Canvas& canvas, int frame, int frames);
void PaintHeart(Canvas& canvas, int frame, int frames);
void PaintTwinBonus(Canvas& canvas, int frame, int frames);
void PaintSpeedBonus(Canvas& canvas, int frame, int frames);
void PaintLifeBonus(Canvas& canvas, int frame, int frames);

// The enemies and their shots (images_enemies.cpp).
void PaintEye(Canvas& canvas, int frame, int frames);
void PaintEyeShot(Canvas& canvas, int frame, int frames);
void PaintSkull(Canvas& canvas, int frame, int frames);
void PaintSkullShot(Canvas& canvas, int frame, int frames);
void PaintRocket(Canvas& canvas, int frame, int frames);
void PaintSaucer(Canvas& canvas, int frame, int frames);
void PaintSaucerShot(Canvas& canvas, int frame, int frames);
void PaintHelicopter(Canvas& canvas, int frame, int frames);
void PaintHelicopterShot(Canvas& canvas, int frame, int frames);
void PaintSatellite(Canvas& canvas, int frame, int frames);
void PaintSatelliteShot(Canvas& canvas, int frame, int frames);
void PaintShip(Canvas& canvas, int frame, int frames);
void PaintShipShot(Canvas& canvas, int frame, int frames);

// Lettering (images_lettering.cpp).
void PaintTitle(Canvas& canvas, int frame, int frames);
void PaintGameOver(Canvas& canvas, int frame, int frames);
void PaintYouWin(Canvas& canvas, int frame, int frames);
void PaintPowerText(Canvas& canvas, int frame, int frames);
void PaintSpeedText(Canvas& canvas, int frame, int frames);
void PaintHealthText(Canvas& canvas, int frame, int frames);
void PaintPauseText(Canvas& canvas, int frame, int frames);
// The ringed orb of the title, its ink outline rim pixels wide and the glow
// around it glow_px; also the desktop icon, painted on a square canvas of the
// icon's size.
void PaintRingedOrb(Canvas& canvas, float cx, float cy, float r, Rgb ink, Rgb glow, int rim,
                    int glow_px);
void PaintIcon(Canvas& canvas, int frame, int frames);
