// Program-wide constants.
#pragma once

#include <cstdint>

namespace installer {

// Code page of every narrow text, used by every narrow/wide conversion.
inline constexpr std::int32_t TextCodePage = 936;
// Largest piece in which a request body is sent.
inline constexpr std::int32_t UploadChunkSize = 1048576;

}  // namespace installer
