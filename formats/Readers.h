// The picture readers and writers, one file each.
#pragma once

#include "formats/Registry.h"

#include <cstdint>
#include <vector>

namespace quillon {

void ReadBmp(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadJpeg(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadGif(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadTga(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadTiff(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPcx(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadRla(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadSgi(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPsd(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPnm(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadAutodesk(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPcd(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadCut(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPsp(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);
void ReadPng(std::span<const std::uint8_t> data, const std::string& fileName, Bitmap& out);

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);
std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bitmap);
std::vector<std::uint8_t> EncodeGif(const Bitmap& bitmap);

} // namespace quillon
