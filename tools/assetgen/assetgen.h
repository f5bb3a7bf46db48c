// The asset generator: paints, synthesises and composes every file of the
// catalogue into a data directory. Deterministic: the same sources give the
// same bytes. Each step prints why to standard error and returns false when
// it cannot write a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool PaintImages(const std::string& data_dir);   // data_dir/IMG/*.bmp
bool MakeSounds(const std::string& data_dir);    // data_dir/Sound/*.wav
bool ComposeMusic(const std::string& data_dir);  // data_dir/Music/*.mid
bool PaintIcon(const std::string& dir);          // dir/hicolor/NxN/apps/orbalune.png, every size

// The file formats are little-endian: appends the low `width` bytes of value.
void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int width);

// Makes the directory and any missing parents; false, with the reason on
// standard error, when it cannot.
bool MakeDirs(const std::string& path);

// Writes a whole asset file; false, with the reason on standard error, when
// it cannot be created or written.
bool WriteAssetFile(const std::string& path, const std::vector<uint8_t>& bytes);
