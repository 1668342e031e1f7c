#pragma once

// The browser's side of output/deflate.h: the level the next DeflateRaw calls use. 1 (the
// default) gives zlib's fastest level, the archive the command line writes; 0 gives stored
// blocks inside the same zip method, which the live preview hands to the player because
// neither side then spends time on compression.
void SetBrowserDeflateLevel(int level);
