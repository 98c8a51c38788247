#pragma once

#include <string>

// Whether the PNG file at `pngPath` is up to date for the BMP file at `bmpPath` (file-system
// paths, UTF-8): the PNG is a regular file whose exact modification time (to the nanosecond) is
// not older than the BMP's. A missing PNG, or a folder or other non-file of that name, is not up
// to date; a BMP whose time cannot be read counts as older than any PNG.
//
// Exact times replace the packed DOS times (two-second steps, negative from 2044) that let a BMP
// changed within two seconds of its PNG stay unconverted; every case the packed times decided
// right is decided the same way.
bool PngUpToDate(const std::string& pngPath, const std::string& bmpPath);
