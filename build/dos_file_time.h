#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// A file's last-write time as one signed 32-bit DOS date and time: the date in the upper 16 bits
// ((year - 1980) x 512 + month x 32 + day), the time in the lower 16 (hour x 2048 + minute x 32 +
// seconds / 2). The build compares these values signed to tell whether a PNG is up to date.
int32_t PackDosTime(const std::tm& local);

// The modification time of the file at `path` (a file-system path, UTF-8), converted to local
// time and packed; -1 when there is no such file.
int32_t DosFileTime(const std::string& path);
