#pragma once

// The stages of Make Skin that the recipe files share with one another: compose/ only. Every
// other layer makes a skin through skin.h.

#include "compose/skin.h"

// Copies the band of `kind` out of the picture into band (275 x 116).
void CutBand(const SkinInputs& in, Band kind, Dib* band);

// Two-tone frame over the inclusive rectangle: top row and left column shaded by p1,
// bottom row and right column by p2.
void ShadeFrame(Dib* dib, const DibRect& inclusive, int p1, int p2);

// Writes text with the skin's own text.bmp at (x, y) within width pixels, padding with
// space blocks, as a player shows a song title.
void DrawSkinText(Dib* dib, int32_t x, int32_t y, const char* text, int32_t width,
                  const Dib* textBitmap);

// Parts of MakeSkin, run in its order.
void MakeEqualizerSkin(SkinSet& skin, const SkinInputs& in);
void MakePlaylistSkin(SkinSet& skin, const SkinInputs& in);
// After MakePlaylistSkin: cut from the playlist's band it leaves in skin.mainBand.
void MakeGenericSkin(SkinSet& skin, const SkinInputs& in);
