// The picture readers and writers, one file each.
#pragma once

#include "formats/Registry.h"

#include <cstdint>
#include <vector>

void ReadBmp(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadJpeg(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadGif(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadTga(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadTiff(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPcx(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadRla(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadSgi(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPsd(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPnm(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadAutodesk(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPcd(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadCut(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPsp(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);
void ReadPng(std::span<const std::uint8_t> data, const std::string& fileName, TBitmap& out);

std::vector<std::uint8_t> EncodeBmp(const TBitmap& bitmap);
std::vector<std::uint8_t> EncodeJpeg(const TBitmap& bitmap);
std::vector<std::uint8_t> EncodeGif(const TBitmap& bitmap);
