// The asset generator: paints, synthesises and composes every file of the
// catalogue into a data directory. Deterministic: the same sources give the
// same bytes. Each step prints why to standard error and returns false when
// it cannot write a file.
#pragma once

#include <string>

bool PaintImages(const std::string& data_dir);   // data_dir/IMG/*.bmp
bool MakeSounds(const std::string& data_dir);    // data_dir/Sound/*.wav
bool ComposeMusic(const std::string& data_dir);  // data_dir/Music/*.mid
